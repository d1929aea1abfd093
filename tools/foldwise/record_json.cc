#include "record_json.h"

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

Json SmtpJson(const VOICE_SMTP_XML_DATA& s) {
  return Json{{"from", s.from}, {"subject", s.subject}, {"body", s.body}};
}
Json SmtpJson(const SENTITEMS_SMTP_XML_DATA& s) {
  return Json{{"from", s.from}, {"to", s.to},           {"cc", s.cc},
              {"bcc", s.bcc},   {"subject", s.subject}, {"body", s.body}};
}
Json SmtpJson(const INBOX_TYPIST_SMTP_XML_DATA& s) {
  return Json{{"from", s.from}, {"subject", s.subject}, {"body", s.body}};
}
Json SmtpJson(const DOCUMENTS_SMTP_XML_DATA& s) {
  return Json{{"from", s.from}, {"subject", s.subject}, {"body", s.body}};
}
Json SmtpJson(const SENTITEMS_TYPIST_SMTP_XML_DATA& s) {
  return Json{{"from", s.from}, {"to", s.to},           {"cc", s.cc},
              {"bcc", s.bcc},   {"subject", s.subject}, {"body", s.body}};
}
Json SmtpJson(const OUTBOX_SMTP_XML_DATA& s) {
  return Json{{"to", s.to},   {"to_id", s.to_id},   {"cc", s.cc},           {"cc_id", s.cc_id},
              {"bcc", s.bcc}, {"bcc_id", s.bcc_id}, {"subject", s.subject}, {"body", s.body}};
}
Json SmtpJson(const OUTBOX_TYPIST_SMTP_XML_DATA& s) {
  return Json{{"to", s.to},           {"to_id", s.to_id},   {"to_address", s.to_address},
              {"cc", s.cc},           {"cc_id", s.cc_id},   {"cc_address", s.cc_address},
              {"bcc", s.bcc},         {"bcc_id", s.bcc_id}, {"bcc_address", s.bcc_address},
              {"subject", s.subject}, {"body", s.body}};
}

template <typename Ftp>
Json FtpJson(const Ftp& ftp) {
  return Json{{"server", ftp.server}, {"folder", ftp.folder}};
}

// The delivery part of a list record: its kind and the details of that kind only.
template <typename Record>
void AddDelivery(const Record& record, Json& out) {
  out["delivery"] = DeliveryName(record.delivery_kind);
  if (record.delivery_kind == kDeliveryFtp) out["ftp"] = FtpJson(record.ftp);
  if (record.delivery_kind == kDeliveryMail) out["mail"] = SmtpJson(record.smtp);
}

template <typename Error>
Json ErrorsJson(std::int32_t count, const Error* list) {
  Json errors = Json::array();
  for (std::int32_t i = 0; list != nullptr && i < count; ++i) {
    errors.push_back(Json{
        {"date", list[i].date}, {"time", list[i].time}, {"error_message", list[i].error_message}});
  }
  return errors;
}

}  // namespace

Json ToJson(const VOICE_ITEMLIST_XML_DATA& entry) {
  const VOICE_ITEM_XML_DATA& i = entry.item;
  Json out{{"guid", i.guid},
           {"dictation_file_name", i.dictation_file_name},
           {"dictation_file_path", i.dictation_file_path},
           {"status", i.status},
           {"document_file_name", i.document_file_name},
           {"document_file_path", i.document_file_path},
           {"archive", i.archive},
           {"sent", i.sent},
           {"protocol", i.protocol}};
  AddDelivery(entry, out);
  return out;
}

Json ToJson(const SENTITEMS_ITEMLIST_XML_DATA& entry) {
  const SENTITEMS_ITEM_XML_DATA& i = entry.item;
  Json out{{"guid", i.guid},
           {"status", i.status},
           {"dictation_file_name", i.dictation_file_name},
           {"dictation_file_path", i.dictation_file_path},
           {"document_file_name", i.document_file_name},
           {"document_file_path", i.document_file_path},
           {"protocol", i.protocol},
           {"date", i.date},
           {"time", i.time}};
  AddDelivery(entry, out);
  return out;
}

Json ToJson(const INBOX_TYPIST_ITEMLIST_XML_DATA& entry) {
  const INBOX_TYPIST_ITEM_XML_DATA& i = entry.item;
  Json out{{"guid", i.guid},
           {"dictation_file_name", i.dictation_file_name},
           {"dictation_file_path", i.dictation_file_path},
           {"status", i.status},
           {"protocol", i.protocol},
           {"date", i.date},
           {"time", i.time},
           {"document_file_name", i.document_file_name},
           {"document_file_path", i.document_file_path}};
  AddDelivery(entry, out);
  return out;
}

Json ToJson(const DOCUMENTS_ITEMLIST_XML_DATA& i) {
  Json out{{"guid", i.guid},
           {"document_file_name", i.document_file_name},
           {"document_file_path", i.document_file_path},
           {"protocol", i.protocol},
           {"date", i.date},
           {"time", i.time},
           {"dictation_file_name", i.dictation_file_name},
           {"dictation_file_path", i.dictation_file_path}};
  AddDelivery(i, out);
  return out;
}

Json ToJson(const DOCUMENTS_TYPIST_ITEM_XML_DATA& i) {
  return Json{{"guid", i.guid},
              {"document_file_name", i.document_file_name},
              {"document_file_path", i.document_file_path},
              {"dictation_file_name", i.dictation_file_name},
              {"dictation_file_path", i.dictation_file_path},
              {"status", i.status},
              {"To", i.To},
              {"Received", i.Received}};
}

Json ToJson(const SENTITEMS_TYPIST_ITEMLIST_XML_DATA& i) {
  Json out{{"guid", i.guid},
           {"status", i.status},
           {"document_file_name", i.document_file_name},
           {"document_file_path", i.document_file_path},
           {"dictation_file_name", i.dictation_file_name},
           {"dictation_file_path", i.dictation_file_path},
           {"protocol", i.protocol},
           {"date", i.date},
           {"time", i.time}};
  AddDelivery(i, out);
  return out;
}

Json ToJson(const OUTBOX_ITEMLIST_XML_DATA& i) {
  Json out{{"guid", i.guid},
           {"dictation_file_name", i.dictation_file_name},
           {"dictation_file_path", i.dictation_file_path},
           {"protocol", i.protocol},
           {"date", i.date},
           {"time", i.time}};
  AddDelivery(i, out);
  out["errors"] = ErrorsJson(i.error_count, i.error_list);
  return out;
}

Json ToJson(const OUTBOX_TYPIST_ITEMLIST_XML_DATA& i) {
  Json out{{"guid", i.guid},
           {"document_file_name", i.document_file_name},
           {"document_file_path", i.document_file_path},
           {"dictation_file_name", i.dictation_file_name},
           {"dictation_file_path", i.dictation_file_path},
           {"protocol", i.protocol},
           {"date", i.date},
           {"time", i.time}};
  AddDelivery(i, out);
  out["errors"] = ErrorsJson(i.error_count, i.error_list);
  return out;
}

Json ToJson(const OUTBOX_SRVINFOLIST_XML_DATA& s) {
  return Json{{"protocol", s.protocol},
              {"server", s.server},
              {"errors", ErrorsJson(s.error_count, s.error_list)}};
}

Json ToJson(const OUTBOX_TYPIST_SRVINFOLIST_XML_DATA& s) {
  return Json{{"protocol", s.protocol},
              {"server", s.server},
              {"errors", ErrorsJson(s.error_count, s.error_list)}};
}

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
