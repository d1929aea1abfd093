// The text fields of every record a folder operation takes, and the texts an operation of the
// family table (harness/family_table.h) puts into them: its own, a caller's for a named field,
// or one text under test in one numbered slot.
#ifndef FOLDWISE_HARNESS_RECORD_TEXTS_H_
#define FOLDWISE_HARNESS_RECORD_TEXTS_H_

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>

#include "foldwise/cached_records.h"
#include "foldwise/document_records.h"
#include "foldwise/outbox_records.h"

namespace Foldwise {
namespace harness {

using TextVisitor = std::function<void(const char* field, std::string& text)>;

// Calls |visit| for every text field of the record, in declaration order; list records visit
// their item, then their FTP and their mail details.
void VisitTexts(VOICE_ITEM_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(VOICE_ITEMLIST_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(SENTITEMS_ITEM_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(SENTITEMS_ITEMLIST_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(INBOX_TYPIST_ITEM_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(INBOX_TYPIST_ITEMLIST_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(DOCUMENTS_ITEM_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(DOCUMENTS_FTP_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(DOCUMENTS_SMTP_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(DOCUMENTS_ITEMLIST_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(DOCUMENTS_TYPIST_ITEM_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(SENTITEMS_TYPIST_ITEM_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(SENTITEMS_TYPIST_FTP_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(SENTITEMS_TYPIST_SMTP_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(SENTITEMS_TYPIST_ITEMLIST_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(OUTBOX_ITEM_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(OUTBOX_FTP_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(OUTBOX_SMTP_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(OUTBOX_ERRINFO_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(OUTBOX_ITEMLIST_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(OUTBOX_SRVINFO_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(OUTBOX_SRVINFOLIST_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(OUTBOX_TYPIST_ITEM_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(OUTBOX_TYPIST_FTP_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(OUTBOX_TYPIST_SMTP_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(OUTBOX_TYPIST_ERRINFO_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(OUTBOX_TYPIST_ITEMLIST_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(OUTBOX_TYPIST_SRVINFO_XML_DATA& r, const TextVisitor& visit);
void VisitTexts(OUTBOX_TYPIST_SRVINFOLIST_XML_DATA& r, const TextVisitor& visit);

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
  Role role_ = Role::kKey;
  std::string field_;
};

}  // namespace harness
}  // namespace Foldwise

#endif  // FOLDWISE_HARNESS_RECORD_TEXTS_H_
