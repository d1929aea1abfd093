// Records described as tables of their text fields, so that the three folders write, read and
// change their items with one set of routines: a folder differs from another only in its tables
// and in where its delivery subtree goes.
#ifndef FOLDWISE_FOLDERS_DOCUMENTS_ITEM_FIELDS_H_
#define FOLDWISE_FOLDERS_DOCUMENTS_ITEM_FIELDS_H_

#include <cstddef>
#include <string>

#include "dom/dom.h"
#include "dom/dom_scan.h"
#include "engine/path_policy.h"
#include "folders/documents/tree_text.h"
#include "foldwise/cached_records.h"
#include "foldwise/errors.h"
#include "storage/xml_file.h"

namespace Foldwise {
namespace documents {

// Item elements stand at depth 2 under item_list; their children at 3, a delivery subtree's
// children at 4.
constexpr int kItemDepth = 2;
constexpr int kFieldDepth = 3;
constexpr int kDeliveryFieldDepth = 4;

enum class Stored {
  kText,  // verbatim
  kPath,  // in storage form; resolved on reading
};
enum class Written {
  kAlways,       // even when empty
  kWhenNonEmpty  // left out when empty
};

template <typename Record>
struct Field {
  std::string Record::*member;
  const char* element;
  Stored stored;
  Written written;
};

// A table of fields: a view of a static array.
template <typename Record>
struct Fields {
  const Field<Record>* first;
  const Field<Record>* last;
  const Field<Record>* begin() const { return first; }
  const Field<Record>* end() const { return last; }
};

template <typename Record, std::size_t N>
constexpr Fields<Record> TableOf(const Field<Record> (&fields)[N]) {
  return {fields, fields + N};
}

// Appends the fields of |record| to |parent|, each on its own line at |depth|.
template <typename Record>
void WriteFields(DomDocument& doc, DomNode parent, const Record& record, Fields<Record> fields,
                 int depth) {
  for (const Field<Record>& field : fields) {
    const std::string& value = record.*field.member;
    if (field.written == Written::kWhenNonEmpty && value.empty()) continue;
    // Checked as given: the storage form of a path could hide what the host passed.
    if (!IsXmlText(value)) {
      throw ComError(kErrorDomFailure, "a value holds a character a folder file cannot carry");
    }
    AppendTextElement(doc, parent, field.element,
                      field.stored == Stored::kPath ? SharePaths::ToStored(value) : value, depth);
  }
}

// Fills the fields of |record| from the children of |parent|; a missing child reads empty. The
// fields of every table are found in one walk over the children.
template <typename Record, typename... Tables>
void ReadFields(DomNode parent, Record& record, Tables... tables) {
  constexpr std::size_t kMost = 32;
  const char* names[kMost] = {};
  std::string* texts[kMost] = {};
  std::size_t count = 0;
  const auto collect = [&](Fields<Record> fields) {
    for (const Field<Record>& field : fields) {
      if (count == kMost) {
        AssignChildTexts(parent, names, texts, count);
        count = 0;
      }
      names[count] = field.element;
      texts[count++] = &(record.*field.member);
    }
  };
  (collect(tables), ...);
  AssignChildTexts(parent, names, texts, count);
  const auto toLocal = [&](Fields<Record> fields) {
    for (const Field<Record>& field : fields) {
      std::string& text = record.*field.member;
      if (field.stored == Stored::kPath && !text.empty()) text = SharePaths::ToLocal(text);
    }
  };
  (toLocal(tables), ...);
}

// Appends the delivery subtree |name| with the fields of |delivery| to |item|: the subtree on
// a line at the field depth, its children one deeper, its end tag back at the field depth.
template <typename Delivery>
void WriteDelivery(DomDocument& doc, DomNode item, const char* name, const Delivery& delivery,
                   Fields<Delivery> fields) {
  AppendIndent(doc, item, kFieldDepth);
  DomNode subtree = item.AppendChild(doc.CreateElement(name));
  WriteFields(doc, subtree, delivery, fields, kDeliveryFieldDepth);
  AppendIndent(doc, subtree, kFieldDepth);
}

// Writes the subtree |entry|'s delivery_kind names (1 ftp, 2 mail); any other kind writes none.
template <typename Entry, typename Ftp, typename Smtp>
void WriteDeliveryOf(DomDocument& doc, DomNode item, const Entry& entry, Fields<Ftp> ftpFields,
                     Fields<Smtp> mailFields) {
  if (entry.delivery_kind == kDeliveryFtp) {
    WriteDelivery(doc, item, "ftp", entry.ftp, ftpFields);
  } else if (entry.delivery_kind == kDeliveryMail) {
    WriteDelivery(doc, item, "mail", entry.smtp, mailFields);
  }
}

// Sets delivery_kind from the protocol already read into |out| ("ftp" or "mail", letter case
// counting) and reads that subtree; a missing subtree leaves the delivery record as it was.
template <typename Entry, typename Ftp, typename Smtp>
void ReadDeliveryOf(DomNode item, Entry& out, Fields<Ftp> ftpFields, Fields<Smtp> mailFields) {
  out.delivery_kind = kDeliveryNone;
  if (out.protocol == "ftp") {
    out.delivery_kind = kDeliveryFtp;
    const DomNode ftp = FirstChildElement(item, "ftp");
    if (ftp) ReadFields(ftp, out.ftp, ftpFields);
  } else if (out.protocol == "mail") {
    out.delivery_kind = kDeliveryMail;
    const DomNode mail = FirstChildElement(item, "mail");
    if (mail) ReadFields(mail, out.smtp, mailFields);
  }
}

// What a change does when the item lacks the element of a field the values set.
enum class IfMissing {
  kSkip,     // leave the field unchanged
  kAbandon,  // give up the whole change
  kAppend,   // create the element at the end of the item
};

template <typename Record>
struct Change {
  std::string Record::*member;
  const char* element;
  Stored stored;
  IfMissing ifMissing;
};

template <typename Record>
struct Changes {
  const Change<Record>* first;
  const Change<Record>* last;
  const Change<Record>* begin() const { return first; }
  const Change<Record>* end() const { return last; }
};

template <typename Record, std::size_t N>
constexpr Changes<Record> ChangesOf(const Change<Record> (&changes)[N]) {
  return {changes, changes + N};
}

// Sets every field that is non-empty in |values| on |item|, in table order. False, with nothing
// set, when the item lacks a field whose row abandons the change. A value the file cannot carry
// (IsXmlText) raises ComError before any field is set.
template <typename Record>
bool ApplyChanges(DomDocument& doc, DomNode item, const Record& values, Changes<Record> changes) {
  for (const Change<Record>& change : changes) {
    if (!IsXmlText(values.*change.member)) {
      throw ComError(kErrorDomFailure, "a value holds a character a folder file cannot carry");
    }
  }
  // A change given up for a missing field is given up before it sets anything: inside the host's
  // bracket the item is part of the held document, which a later save writes whole.
  for (const Change<Record>& change : changes) {
    if (change.ifMissing == IfMissing::kAbandon && !(values.*change.member).empty() &&
        !FirstChildElement(item, change.element)) {
      return false;
    }
  }
  for (const Change<Record>& change : changes) {
    const std::string& value = values.*change.member;
    if (value.empty()) continue;
    DomNode element = FirstChildElement(item, change.element);
    if (!element) {
      if (change.ifMissing == IfMissing::kSkip) continue;
      element = GetOrCreateChildElement(doc, item, change.element, kFieldDepth);
    }
    element.SetText(change.stored == Stored::kPath ? SharePaths::ToStored(value) : value);
  }
  return true;
}

// How an entry's dictation is detached from it.
enum class DictationRemoval {
  kRemoveElements,  // dictation_file_name and dictation_file_path go
  kBlankTexts,      // they stay, empty
};

void DetachDictation(DomNode item, DictationRemoval removal);

}  // namespace documents
}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_DOCUMENTS_ITEM_FIELDS_H_
