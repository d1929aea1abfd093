// What tells the author's outbox from the typist's: record types, file, identifier, and tables
// of fields in the order each step handles them. The operations are one engine over a schema.
#ifndef FOLDWISE_FOLDERS_OUTBOX_OUTBOX_SCHEMA_H_
#define FOLDWISE_FOLDERS_OUTBOX_OUTBOX_SCHEMA_H_

#include <array>
#include <string>

#include "foldwise/outbox_folders.h"
#include "foldwise/outbox_records.h"

namespace Foldwise {
namespace outbox {

// A text field of record type R and the element that stores it.
template <typename R>
struct Field {
  const char* name;
  std::string R::*member;
  bool is_path = false;  // stored in storage form, read back in local form
};

// An e-mail field and whether its element is written when the text is empty.
template <typename R>
struct MailField {
  const char* name;
  std::string R::*member;
  bool always;
};

// How a key field is compared with the stored text.
enum class Compare {
  kExact,        // case-sensitive
  kNoCase,       // ignoring case
  kPath,         // both trimmed, the key in storage form, ignoring case
  kPathAsStored  // the key in storage form and trimmed, the stored text as it is; ignoring case
};

template <typename R>
struct KeyField {
  const char* name;
  std::string R::*member;
  Compare compare;
};

// One step of the four-record change.
enum class Presence {
  kRequired,  // a missing element fails the change
  kOptional,  // a missing element is skipped
  kProtocol,  // the protocol, with the rewrite of the delivery details
};

template <typename R>
struct ChangeStep {
  const char* name;
  std::string R::*member;
  bool is_path;
  Presence presence;
};

// One field of the by-reference change and of the unlink.
enum class Assign {
  kIfGiven,  // the new value when it is not empty
  kBlank,    // empty text, whatever the new value holds
};

template <typename R>
struct AssignStep {
  const char* name;
  std::string R::*member;
  bool is_path;
  Assign assign;
};

// Fields every family shares by name.
template <typename Ftp>
constexpr std::array<Field<Ftp>, 2> kFtpFields = {
    {{"server", &Ftp::server}, {"folder", &Ftp::folder}}};
template <typename ErrInfo>
constexpr std::array<Field<ErrInfo>, 3> kErrorFields = {
    {{"date", &ErrInfo::date},
     {"time", &ErrInfo::time},
     {"error_message", &ErrInfo::error_message}}};
template <typename SrvInfo>
constexpr std::array<Field<SrvInfo>, 2> kServerFields = {
    {{"protocol", &SrvInfo::protocol}, {"server", &SrvInfo::server}}};
// The e-mail texts that tell two deliveries apart; the ids and addresses do not.
template <typename Smtp>
constexpr std::array<Field<Smtp>, 5> kMailDetailFields = {{{"to", &Smtp::to},
                                                           {"cc", &Smtp::cc},
                                                           {"bcc", &Smtp::bcc},
                                                           {"subject", &Smtp::subject},
                                                           {"body", &Smtp::body}}};

struct AuthorOutbox : OutboxRecords {
  static constexpr const char* kFileName = "OutBoxFolder.xml";
  static constexpr const char* kIdentifier = "Quillnote OutBoxFolderXML";

  // The children of a new item, in file order.
  static constexpr std::array<Field<Item>, 6> kItemFields = {
      {{"guid", &Item::guid},
       {"dictation_file_name", &Item::dictation_file_name},
       {"dictation_file_path", &Item::dictation_file_path, true},
       {"date", &Item::date},
       {"time", &Item::time},
       {"protocol", &Item::protocol}}};
  static constexpr std::array<MailField<Smtp>, 8> kMailFields = {{{"to", &Smtp::to, true},
                                                                  {"to_id", &Smtp::to_id, false},
                                                                  {"cc", &Smtp::cc, false},
                                                                  {"cc_id", &Smtp::cc_id, false},
                                                                  {"bcc", &Smtp::bcc, false},
                                                                  {"bcc_id", &Smtp::bcc_id, false},
                                                                  {"subject", &Smtp::subject, true},
                                                                  {"body", &Smtp::body, true}}};
  // What identifies an item's dictation.
  static constexpr std::array<KeyField<Item>, 3> kIdentity = {
      {{"guid", &Item::guid, Compare::kNoCase},
       {"dictation_file_name", &Item::dictation_file_name, Compare::kNoCase},
       {"dictation_file_path", &Item::dictation_file_path, Compare::kPath}}};
  // What the matching hook compares.
  static constexpr std::array<KeyField<Item>, 4> kMatchFields = {
      {{"guid", &Item::guid, Compare::kExact},
       {"dictation_file_name", &Item::dictation_file_name, Compare::kNoCase},
       {"dictation_file_path", &Item::dictation_file_path, Compare::kPathAsStored},
       {"protocol", &Item::protocol, Compare::kNoCase}}};
  static constexpr std::array<ChangeStep<Item>, 6> kChangeSteps = {
      {{"guid", &Item::guid, false, Presence::kRequired},
       {"date", &Item::date, false, Presence::kRequired},
       {"time", &Item::time, false, Presence::kRequired},
       {"dictation_file_name", &Item::dictation_file_name, false, Presence::kRequired},
       {"dictation_file_path", &Item::dictation_file_path, true, Presence::kRequired},
       {"protocol", &Item::protocol, false, Presence::kProtocol}}};
  static constexpr std::array<AssignStep<Item>, 6> kAssignSteps = {
      {{"guid", &Item::guid, false, Assign::kIfGiven},
       {"date", &Item::date, false, Assign::kIfGiven},
       {"time", &Item::time, false, Assign::kIfGiven},
       {"dictation_file_name", &Item::dictation_file_name, false, Assign::kIfGiven},
       {"dictation_file_path", &Item::dictation_file_path, true, Assign::kIfGiven},
       {"protocol", &Item::protocol, false, Assign::kIfGiven}}};
};

struct TypistOutbox : OutboxTypistRecords {
  static constexpr const char* kFileName = "OutBoxTypistFolder.xml";
  static constexpr const char* kIdentifier = "Quillnote OutBoxTypistFolderXML";

  // Record order is file order; protocol comes before date and time here.
  static constexpr std::array<Field<Item>, 8> kItemFields = {
      {{"guid", &Item::guid},
       {"document_file_name", &Item::document_file_name},
       {"document_file_path", &Item::document_file_path, true},
       {"dictation_file_name", &Item::dictation_file_name},
       {"dictation_file_path", &Item::dictation_file_path, true},
       {"protocol", &Item::protocol},
       {"date", &Item::date},
       {"time", &Item::time}}};
  static constexpr std::array<MailField<Smtp>, 11> kMailFields = {
      {{"to", &Smtp::to, true},
       {"to_id", &Smtp::to_id, false},
       {"to_address", &Smtp::to_address, false},
       {"cc", &Smtp::cc, false},
       {"cc_id", &Smtp::cc_id, false},
       {"cc_address", &Smtp::cc_address, false},
       {"bcc", &Smtp::bcc, false},
       {"bcc_id", &Smtp::bcc_id, false},
       {"bcc_address", &Smtp::bcc_address, false},
       {"subject", &Smtp::subject, true},
       {"body", &Smtp::body, true}}};
  static constexpr std::array<KeyField<Item>, 5> kIdentity = {
      {{"guid", &Item::guid, Compare::kNoCase},
       {"document_file_name", &Item::document_file_name, Compare::kNoCase},
       {"document_file_path", &Item::document_file_path, Compare::kPath},
       {"dictation_file_name", &Item::dictation_file_name, Compare::kNoCase},
       {"dictation_file_path", &Item::dictation_file_path, Compare::kPath}}};
  static constexpr std::array<KeyField<Item>, 8> kMatchFields = {
      {{"guid", &Item::guid, Compare::kExact},
       {"document_file_name", &Item::document_file_name, Compare::kNoCase},
       {"document_file_path", &Item::document_file_path, Compare::kPathAsStored},
       {"dictation_file_name", &Item::dictation_file_name, Compare::kNoCase},
       {"dictation_file_path", &Item::dictation_file_path, Compare::kPathAsStored},
       {"protocol", &Item::protocol, Compare::kNoCase},
       {"date", &Item::date, Compare::kNoCase},
       {"time", &Item::time, Compare::kNoCase}}};
  static constexpr std::array<ChangeStep<Item>, 8> kChangeSteps = {
      {{"guid", &Item::guid, false, Presence::kRequired},
       {"document_file_name", &Item::document_file_name, false, Presence::kRequired},
       {"document_file_path", &Item::document_file_path, true, Presence::kRequired},
       {"dictation_file_name", &Item::dictation_file_name, false, Presence::kRequired},
       {"dictation_file_path", &Item::dictation_file_path, true, Presence::kRequired},
       {"protocol", &Item::protocol, false, Presence::kProtocol},
       {"date", &Item::date, false, Presence::kOptional},
       {"time", &Item::time, false, Presence::kOptional}}};
  static constexpr std::array<AssignStep<Item>, 8> kAssignSteps = {
      {{"guid", &Item::guid, false, Assign::kIfGiven},
       {"document_file_name", &Item::document_file_name, false, Assign::kIfGiven},
       {"document_file_path", &Item::document_file_path, true, Assign::kIfGiven},
       {"dictation_file_name", &Item::dictation_file_name, false, Assign::kIfGiven},
       {"dictation_file_path", &Item::dictation_file_path, true, Assign::kIfGiven},
       {"protocol", &Item::protocol, false, Assign::kIfGiven},
       {"date", &Item::date, false, Assign::kIfGiven},
       {"time", &Item::time, false, Assign::kIfGiven}}};
  // The unlink: the by-reference change with the dictation fields blanked.
  static constexpr std::array<AssignStep<Item>, 8> kUnlinkSteps = {
      {{"guid", &Item::guid, false, Assign::kIfGiven},
       {"document_file_name", &Item::document_file_name, false, Assign::kIfGiven},
       {"document_file_path", &Item::document_file_path, true, Assign::kIfGiven},
       {"dictation_file_name", &Item::dictation_file_name, false, Assign::kBlank},
       {"dictation_file_path", &Item::dictation_file_path, true, Assign::kBlank},
       {"protocol", &Item::protocol, false, Assign::kIfGiven},
       {"date", &Item::date, false, Assign::kIfGiven},
       {"time", &Item::time, false, Assign::kIfGiven}}};
};

template <typename Records>
struct SchemaFor;
template <>
struct SchemaFor<OutboxRecords> {
  using type = AuthorOutbox;
};
template <>
struct SchemaFor<OutboxTypistRecords> {
  using type = TypistOutbox;
};

}  // namespace outbox
}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_OUTBOX_OUTBOX_SCHEMA_H_
