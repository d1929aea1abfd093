// The numbered error list of an item or a server, and the counted arrays the host gets back.
#ifndef FOLDWISE_FOLDERS_OUTBOX_ERROR_LIST_H_
#define FOLDWISE_FOLDERS_OUTBOX_ERROR_LIST_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>

#include "dom/dom.h"
#include "dom/dom_scan.h"
#include "engine/counted_array.h"
#include "folders/outbox/outbox_nodes.h"
#include "folders/outbox/outbox_schema.h"

namespace Foldwise {
namespace outbox {

constexpr char kErrorList[] = "error_info_list";

// The number the next error gets after a list whose error_num reads |text|: one more than the
// number it starts with, where a text that does not start with one counts as 1.
std::int64_t NextErrorNumber(const std::string& text);

// Records one error under |target|, creating its error list (numbered from 1) when it has none.
// An existing list without error_num raises ComError.
void AppendErrInfo(DomDocument& doc, DomNode target, const std::string& date,
                   const std::string& time, const std::string& message);

template <typename ErrInfo>
void AppendErrInfo(DomDocument& doc, DomNode target, const ErrInfo& error) {
  AppendErrInfo(doc, target, error.date, error.time, error.error_message);
}

// Fills the fields of |record| from the children of |node|; a missing child gives empty text.
template <typename Fields, typename Record>
void ReadFields(const DomNode& node, const Fields& fields, Record* record) {
  constexpr std::size_t kCount = std::tuple_size<Fields>::value;
  const char* names[kCount] = {};
  std::string* texts[kCount] = {};
  std::size_t at = 0;
  for (const auto& field : fields) {
    names[at] = field.name;
    texts[at++] = &((*record).*field.member);
  }
  AssignChildTexts(node, names, texts, kCount);
}

// Releases a counted array handed to the host, on every path out of a failed read.
template <typename T>
struct CountedArrayDeleter {
  void operator()(T* first) const { ReleaseCountedArray(first); }
};
template <typename T>
using CountedArrayPtr = std::unique_ptr<T, CountedArrayDeleter<T>>;

// The errors recorded under |owner|: the array has one element per child of the error list
// (error_num included), the count is the number of error_info elements filled in file order.
// 0 and null when there is no list or it is empty.
template <typename ErrInfo>
void ReadErrInfoList(const DomNode& owner, std::int32_t* count, ErrInfo** list) {
  *count = 0;
  *list = nullptr;
  const DomNode errors = FirstChildElement(owner, kErrorList);
  if (!errors) return;
  const int children = static_cast<int>(errors.ChildCount());
  if (children == 0) return;
  CountedArrayPtr<ErrInfo> array(NewCountedArray<ErrInfo>(static_cast<std::size_t>(children)));
  std::int32_t filled = 0;
  for (DomNode child = errors.FirstChild(); child; child = child.NextSibling()) {
    if (!child.IsElementNamed("error_info")) continue;
    ReadFields(child, kErrorFields<ErrInfo>, &array.get()[filled++]);
  }
  *count = filled;
  *list = array.release();
}

// Releases the error lists of the first |count| elements of |list| (never more than it holds),
// then the array itself. Null does nothing.
template <typename Entry>
void ReleaseEntryList(std::int32_t count, Entry* list) {
  if (list == nullptr) return;
  const auto size = static_cast<std::int64_t>(CountedArraySize(list));
  const std::int64_t used = count < 0 ? 0 : (count < size ? count : size);
  for (std::int64_t i = 0; i < used; ++i) {
    ReleaseCountedArray(list[i].error_list);
    list[i].error_list = nullptr;
  }
  ReleaseCountedArray(list);
}

}  // namespace outbox
}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_OUTBOX_ERROR_LIST_H_
