// The text fields of every record a folder operation takes, and the texts an operation of the
// family table (harness/family_table.h) puts into them: its own, a caller's for a named field,
// or one text under test in one numbered slot.
#ifndef FOLDWISE_HARNESS_RECORD_TEXTS_H_
#define FOLDWISE_HARNESS_RECORD_TEXTS_H_

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "foldwise/cached_records.h"
#include "foldwise/document_records.h"
#include "foldwise/outbox_records.h"

namespace Foldwise {
namespace harness {

using TextVisitor = std::function<void(const char* field, std::string& text)>;

// Every text field name a folder record has, in the order a visit takes them.
// clang-format off
#define FOLDWISE_RECORD_TEXT_FIELDS(X) \
  X(guid) X(status) X(dictation_file_name) X(dictation_file_path) X(document_file_name) \
  X(document_file_path) X(archive) X(sent) X(protocol) X(date) X(time) X(To) X(Received) \
  X(server) X(folder) X(from) X(to) X(cc) X(bcc) X(subject) X(body) X(to_id) X(cc_id) X(bcc_id) \
  X(to_address) X(cc_address) X(bcc_address) X(error_message)
// clang-format on

namespace record_texts_internal {
#define FOLDWISE_HAS_MEMBER(name)         \
  template <typename R, typename = void>  \
  struct Has_##name : std::false_type {}; \
  template <typename R>                   \
  struct Has_##name<R, std::void_t<decltype(std::declval<R&>().name)>> : std::true_type {};
FOLDWISE_RECORD_TEXT_FIELDS(FOLDWISE_HAS_MEMBER)
FOLDWISE_HAS_MEMBER(item)
FOLDWISE_HAS_MEMBER(ftp)
FOLDWISE_HAS_MEMBER(smtp)
#undef FOLDWISE_HAS_MEMBER
}  // namespace record_texts_internal

// Calls |visit| for every text field of any folder record: the item of a list record (a member
// or its base), then its own fields, then its FTP and mail details.
template <typename Record>
void VisitTexts(Record& r, const TextVisitor& visit) {
  namespace has = record_texts_internal;
  if constexpr (has::Has_item<Record>::value) VisitTexts(r.item, visit);
#define FOLDWISE_VISIT_TEXT(name) \
  if constexpr (has::Has_##name<Record>::value) visit(#name, r.name);
  FOLDWISE_RECORD_TEXT_FIELDS(FOLDWISE_VISIT_TEXT)
#undef FOLDWISE_VISIT_TEXT
  if constexpr (has::Has_ftp<Record>::value) VisitTexts(r.ftp, visit);
  if constexpr (has::Has_smtp<Record>::value) VisitTexts(r.smtp, visit);
}

// Whether a record is what an operation looks for (a key) or what it writes (values).
enum class Role { kKey, kValue };

// The texts of the records one run of an operation builds. Every field starts empty, then takes
// the operation's own text for it, then a caller's (Set), then, in the slot-th text field the run
// visits (counted over all its records), the text under test (Substitute).
class Texts {
 public:
  using Named = std::initializer_list<std::pair<const char*, const char*>>;

  void Set(Role role, const std::string& field, std::string text) {
    set_[{role, field}] = std::move(text);
  }
  void Substitute(int slot, std::string text) {
    slot_ = slot;
    text_ = std::move(text);
  }

  template <typename Record>
  Record Key(Named named) {
    return Make<Record>(Role::kKey, named);
  }
  template <typename Record>
  Record Value(Named named) {
    return Make<Record>(Role::kValue, named);
  }

  // After a run: the text fields it visited, and where the text under test went (if anywhere).
  int visited() const { return visited_; }
  // The text each visited field held before the text under test went in.
  const std::vector<std::string>& seen() const { return seen_; }
  bool substituted() const { return !field_.empty(); }
  Role role() const { return role_; }
  const std::string& field() const { return field_; }

 private:
  template <typename Record>
  Record Make(Role role, Named named) {
    Record record;
    VisitTexts(record, [&](const char* field, std::string& text) {
      for (const auto& [name, value] : named) {
        if (field == std::string(name)) text = value;
      }
      const auto set = set_.find({role, field});
      if (set != set_.end()) text = set->second;
      seen_.push_back(text);
      if (visited_++ == slot_) {
        text = text_;
        role_ = role;
        field_ = field;
      }
    });
    return record;
  }

  std::map<std::pair<Role, std::string>, std::string> set_;
  int slot_ = -1;
  std::string text_;
  int visited_ = 0;
  std::vector<std::string> seen_;
  Role role_ = Role::kKey;
  std::string field_;
};

}  // namespace harness
}  // namespace Foldwise

#endif  // FOLDWISE_HARNESS_RECORD_TEXTS_H_
