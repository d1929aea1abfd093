#include "record_json.h"

#include <cstddef>
#include <string>
#include <type_traits>

namespace foldwise_tool {
namespace {

using namespace Foldwise;  // NOLINT(google-build-using-namespace): record names only

const char* DeliveryName(unsigned char kind) {
  switch (kind) {
    case kDeliveryFtp:
      return "ftp";
    case kDeliveryMail:
      return "mail";
    default:
      return "none";
  }
}

// One text field of a record: its JSON name and where the record keeps it.
template <typename Record>
struct Text {
  const char* name;
  std::string Record::*member;
};

// The fields of each record, in the order the records declare them: data, one table a record.
template <typename Smtp>
const Text<Smtp> kShortSmtp[] = {
    {"from", &Smtp::from}, {"subject", &Smtp::subject}, {"body", &Smtp::body}};
template <typename Smtp>
const Text<Smtp> kFullSmtp[] = {{"from", &Smtp::from},       {"to", &Smtp::to},
                                {"cc", &Smtp::cc},           {"bcc", &Smtp::bcc},
                                {"subject", &Smtp::subject}, {"body", &Smtp::body}};
template <typename Smtp>
const Text<Smtp> kOutboxSmtp[] = {{"to", &Smtp::to},           {"to_id", &Smtp::to_id},
                                  {"cc", &Smtp::cc},           {"cc_id", &Smtp::cc_id},
                                  {"bcc", &Smtp::bcc},         {"bcc_id", &Smtp::bcc_id},
                                  {"subject", &Smtp::subject}, {"body", &Smtp::body}};
using TypistSmtp = OUTBOX_TYPIST_SMTP_XML_DATA;
const Text<TypistSmtp> kTypistOutboxSmtp[] = {{"to", &TypistSmtp::to},
                                              {"to_id", &TypistSmtp::to_id},
                                              {"to_address", &TypistSmtp::to_address},
                                              {"cc", &TypistSmtp::cc},
                                              {"cc_id", &TypistSmtp::cc_id},
                                              {"cc_address", &TypistSmtp::cc_address},
                                              {"bcc", &TypistSmtp::bcc},
                                              {"bcc_id", &TypistSmtp::bcc_id},
                                              {"bcc_address", &TypistSmtp::bcc_address},
                                              {"subject", &TypistSmtp::subject},
                                              {"body", &TypistSmtp::body}};
template <typename Ftp>
const Text<Ftp> kFtp[] = {{"server", &Ftp::server}, {"folder", &Ftp::folder}};
template <typename Error>
const Text<Error> kError[] = {
    {"date", &Error::date}, {"time", &Error::time}, {"error_message", &Error::error_message}};

using Voice = VOICE_ITEM_XML_DATA;
const Text<Voice> kVoice[] = {{"guid", &Voice::guid},
                              {"dictation_file_name", &Voice::dictation_file_name},
                              {"dictation_file_path", &Voice::dictation_file_path},
                              {"status", &Voice::status},
                              {"document_file_name", &Voice::document_file_name},
                              {"document_file_path", &Voice::document_file_path},
                              {"archive", &Voice::archive},
                              {"sent", &Voice::sent},
                              {"protocol", &Voice::protocol}};
using Sent = SENTITEMS_ITEM_XML_DATA;
const Text<Sent> kSent[] = {{"guid", &Sent::guid},
                            {"status", &Sent::status},
                            {"dictation_file_name", &Sent::dictation_file_name},
                            {"dictation_file_path", &Sent::dictation_file_path},
                            {"document_file_name", &Sent::document_file_name},
                            {"document_file_path", &Sent::document_file_path},
                            {"protocol", &Sent::protocol},
                            {"date", &Sent::date},
                            {"time", &Sent::time}};
using Inbox = INBOX_TYPIST_ITEM_XML_DATA;
const Text<Inbox> kInbox[] = {{"guid", &Inbox::guid},
                              {"dictation_file_name", &Inbox::dictation_file_name},
                              {"dictation_file_path", &Inbox::dictation_file_path},
                              {"status", &Inbox::status},
                              {"protocol", &Inbox::protocol},
                              {"date", &Inbox::date},
                              {"time", &Inbox::time},
                              {"document_file_name", &Inbox::document_file_name},
                              {"document_file_path", &Inbox::document_file_path}};
using Doc = DOCUMENTS_ITEM_XML_DATA;
const Text<Doc> kDocuments[] = {{"guid", &Doc::guid},
                                {"document_file_name", &Doc::document_file_name},
                                {"document_file_path", &Doc::document_file_path},
                                {"protocol", &Doc::protocol},
                                {"date", &Doc::date},
                                {"time", &Doc::time},
                                {"dictation_file_name", &Doc::dictation_file_name},
                                {"dictation_file_path", &Doc::dictation_file_path}};
using TypistDoc = DOCUMENTS_TYPIST_ITEM_XML_DATA;
const Text<TypistDoc> kTypistDocuments[] = {
    {"guid", &TypistDoc::guid},
    {"document_file_name", &TypistDoc::document_file_name},
    {"document_file_path", &TypistDoc::document_file_path},
    {"dictation_file_name", &TypistDoc::dictation_file_name},
    {"dictation_file_path", &TypistDoc::dictation_file_path},
    {"status", &TypistDoc::status},
    {"To", &TypistDoc::To},
    {"Received", &TypistDoc::Received}};
using TypistSent = SENTITEMS_TYPIST_ITEM_XML_DATA;
const Text<TypistSent> kTypistSent[] = {{"guid", &TypistSent::guid},
                                        {"status", &TypistSent::status},
                                        {"document_file_name", &TypistSent::document_file_name},
                                        {"document_file_path", &TypistSent::document_file_path},
                                        {"dictation_file_name", &TypistSent::dictation_file_name},
                                        {"dictation_file_path", &TypistSent::dictation_file_path},
                                        {"protocol", &TypistSent::protocol},
                                        {"date", &TypistSent::date},
                                        {"time", &TypistSent::time}};
using Out = OUTBOX_ITEM_XML_DATA;
const Text<Out> kOutbox[] = {{"guid", &Out::guid},
                             {"dictation_file_name", &Out::dictation_file_name},
                             {"dictation_file_path", &Out::dictation_file_path},
                             {"protocol", &Out::protocol},
                             {"date", &Out::date},
                             {"time", &Out::time}};
using TypistOut = OUTBOX_TYPIST_ITEM_XML_DATA;
const Text<TypistOut> kTypistOutbox[] = {{"guid", &TypistOut::guid},
                                         {"document_file_name", &TypistOut::document_file_name},
                                         {"document_file_path", &TypistOut::document_file_path},
                                         {"dictation_file_name", &TypistOut::dictation_file_name},
                                         {"dictation_file_path", &TypistOut::dictation_file_path},
                                         {"protocol", &TypistOut::protocol},
                                         {"date", &TypistOut::date},
                                         {"time", &TypistOut::time}};

template <typename Record, std::size_t N>
Json Texts(const Record& record, const Text<Record> (&fields)[N]) {
  Json out = Json::object();
  for (const Text<Record>& field : fields) out[field.name] = record.*field.member;
  return out;
}

// Which mail table each list record's details use.
const auto& SmtpFields(const VOICE_SMTP_XML_DATA&) { return kShortSmtp<VOICE_SMTP_XML_DATA>; }
const auto& SmtpFields(const INBOX_TYPIST_SMTP_XML_DATA&) {
  return kShortSmtp<INBOX_TYPIST_SMTP_XML_DATA>;
}
const auto& SmtpFields(const DOCUMENTS_SMTP_XML_DATA&) {
  return kShortSmtp<DOCUMENTS_SMTP_XML_DATA>;
}
const auto& SmtpFields(const SENTITEMS_SMTP_XML_DATA&) {
  return kFullSmtp<SENTITEMS_SMTP_XML_DATA>;
}
const auto& SmtpFields(const SENTITEMS_TYPIST_SMTP_XML_DATA&) {
  return kFullSmtp<SENTITEMS_TYPIST_SMTP_XML_DATA>;
}
const auto& SmtpFields(const OUTBOX_SMTP_XML_DATA&) { return kOutboxSmtp<OUTBOX_SMTP_XML_DATA>; }
const auto& SmtpFields(const TypistSmtp&) { return kTypistOutboxSmtp; }

template <typename Error>
Json ErrorsJson(std::int32_t count, const Error* list) {
  Json errors = Json::array();
  for (std::int32_t i = 0; list != nullptr && i < count; ++i) {
    errors.push_back(Texts(list[i], kError<Error>));
  }
  return errors;
}

// An entry: its item's texts, then the delivery kind and the details of that kind only, then
// the errors of an outbox entry.
template <typename Entry, typename Item, std::size_t N>
Json EntryJson(const Entry& entry, const Item& item, const Text<Item> (&fields)[N]) {
  Json out = Texts(item, fields);
  out["delivery"] = DeliveryName(entry.delivery_kind);
  if (entry.delivery_kind == kDeliveryFtp) {
    out["ftp"] = Texts(entry.ftp, kFtp<std::decay_t<decltype(entry.ftp)>>);
  }
  if (entry.delivery_kind == kDeliveryMail) out["mail"] = Texts(entry.smtp, SmtpFields(entry.smtp));
  if constexpr (std::is_same_v<Entry, OUTBOX_ITEMLIST_XML_DATA> ||
                std::is_same_v<Entry, OUTBOX_TYPIST_ITEMLIST_XML_DATA>) {
    out["errors"] = ErrorsJson(entry.error_count, entry.error_list);
  }
  return out;
}

template <typename Server>
Json ServerJson(const Server& s) {
  return Json{{"protocol", s.protocol},
              {"server", s.server},
              {"errors", ErrorsJson(s.error_count, s.error_list)}};
}

}  // namespace

Json ToJson(const VOICE_ITEMLIST_XML_DATA& e) { return EntryJson(e, e.item, kVoice); }
Json ToJson(const SENTITEMS_ITEMLIST_XML_DATA& e) { return EntryJson(e, e.item, kSent); }
Json ToJson(const INBOX_TYPIST_ITEMLIST_XML_DATA& e) { return EntryJson(e, e.item, kInbox); }
Json ToJson(const DOCUMENTS_ITEMLIST_XML_DATA& e) {
  return EntryJson(e, static_cast<const Doc&>(e), kDocuments);
}
Json ToJson(const DOCUMENTS_TYPIST_ITEM_XML_DATA& e) { return Texts(e, kTypistDocuments); }
Json ToJson(const SENTITEMS_TYPIST_ITEMLIST_XML_DATA& e) {
  return EntryJson(e, static_cast<const TypistSent&>(e), kTypistSent);
}
Json ToJson(const OUTBOX_ITEMLIST_XML_DATA& e) {
  return EntryJson(e, static_cast<const Out&>(e), kOutbox);
}
Json ToJson(const OUTBOX_TYPIST_ITEMLIST_XML_DATA& e) {
  return EntryJson(e, static_cast<const TypistOut&>(e), kTypistOutbox);
}
Json ToJson(const OUTBOX_SRVINFOLIST_XML_DATA& s) { return ServerJson(s); }
Json ToJson(const OUTBOX_TYPIST_SRVINFOLIST_XML_DATA& s) { return ServerJson(s); }

bool IsBlank(const Json& entry) {
  for (const auto& field : entry.items()) {
    const Json& value = field.value();
    if (value.is_string() && !value.get<std::string>().empty() && field.key() != "delivery") {
      return false;
    }
    if ((value.is_object() || value.is_array()) && !value.empty() && !IsBlank(value)) {
      return false;
    }
  }
  return true;
}

}  // namespace foldwise_tool
