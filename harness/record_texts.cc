#include "harness/record_texts.h"

namespace Foldwise {
namespace harness {
namespace {

template <typename Ftp>
void VisitFtp(Ftp& r, const TextVisitor& visit) {
  visit("server", r.server);
  visit("folder", r.folder);
}

// The mail details of the documents folders, the voice folder and the typist inbox.
template <typename Smtp>
void VisitShortSmtp(Smtp& r, const TextVisitor& visit) {
  visit("from", r.from);
  visit("subject", r.subject);
  visit("body", r.body);
}

// The mail details of both sent-items folders.
template <typename Smtp>
void VisitFullSmtp(Smtp& r, const TextVisitor& visit) {
  visit("from", r.from);
  visit("to", r.to);
  visit("cc", r.cc);
  visit("bcc", r.bcc);
  visit("subject", r.subject);
  visit("body", r.body);
}

// Voice, inbox, sent items: the item is a member of the list record.
template <typename ItemList>
void VisitCachedList(ItemList& r, const TextVisitor& visit) {
  VisitTexts(r.item, visit);
  VisitFtp(r.ftp, visit);
}

template <typename Smtp>
void VisitOutboxSmtp(Smtp& r, const TextVisitor& visit) {
  visit("to", r.to);
  visit("cc", r.cc);
  visit("bcc", r.bcc);
  visit("subject", r.subject);
  visit("body", r.body);
  visit("to_id", r.to_id);
  visit("cc_id", r.cc_id);
  visit("bcc_id", r.bcc_id);
}

template <typename ErrInfo>
void VisitError(ErrInfo& r, const TextVisitor& visit) {
  visit("date", r.date);
  visit("time", r.time);
  visit("error_message", r.error_message);
}

template <typename Server>
void VisitServer(Server& r, const TextVisitor& visit) {
  visit("protocol", r.protocol);
  visit("server", r.server);
}

// Documents, typist sent items and outboxes: the list record derives from the item.
template <typename ItemList>
void VisitDerivedList(ItemList& r, const TextVisitor& visit) {
  VisitTexts(static_cast<typename ItemList::Item&>(r), visit);
  VisitTexts(r.ftp, visit);
  VisitTexts(r.smtp, visit);
}

}  // namespace

void VisitTexts(VOICE_ITEM_XML_DATA& r, const TextVisitor& visit) {
  visit("guid", r.guid);
  visit("dictation_file_name", r.dictation_file_name);
  visit("dictation_file_path", r.dictation_file_path);
  visit("status", r.status);
  visit("document_file_name", r.document_file_name);
  visit("document_file_path", r.document_file_path);
  visit("archive", r.archive);
  visit("sent", r.sent);
  visit("protocol", r.protocol);
}
void VisitTexts(VOICE_ITEMLIST_XML_DATA& r, const TextVisitor& visit) {
  VisitCachedList(r, visit);
  VisitShortSmtp(r.smtp, visit);
}
void VisitTexts(SENTITEMS_ITEM_XML_DATA& r, const TextVisitor& visit) {
  visit("guid", r.guid);
  visit("status", r.status);
  visit("dictation_file_name", r.dictation_file_name);
  visit("dictation_file_path", r.dictation_file_path);
  visit("document_file_name", r.document_file_name);
  visit("document_file_path", r.document_file_path);
  visit("protocol", r.protocol);
  visit("date", r.date);
  visit("time", r.time);
}
void VisitTexts(SENTITEMS_ITEMLIST_XML_DATA& r, const TextVisitor& visit) {
  VisitCachedList(r, visit);
  VisitFullSmtp(r.smtp, visit);
}
void VisitTexts(INBOX_TYPIST_ITEM_XML_DATA& r, const TextVisitor& visit) {
  visit("guid", r.guid);
  visit("dictation_file_name", r.dictation_file_name);
  visit("dictation_file_path", r.dictation_file_path);
  visit("status", r.status);
  visit("protocol", r.protocol);
  visit("date", r.date);
  visit("time", r.time);
  visit("document_file_name", r.document_file_name);
  visit("document_file_path", r.document_file_path);
}
void VisitTexts(INBOX_TYPIST_ITEMLIST_XML_DATA& r, const TextVisitor& visit) {
  VisitCachedList(r, visit);
  VisitShortSmtp(r.smtp, visit);
}

void VisitTexts(DOCUMENTS_ITEM_XML_DATA& r, const TextVisitor& visit) {
  visit("guid", r.guid);
  visit("document_file_name", r.document_file_name);
  visit("document_file_path", r.document_file_path);
  visit("protocol", r.protocol);
  visit("date", r.date);
  visit("time", r.time);
  visit("dictation_file_name", r.dictation_file_name);
  visit("dictation_file_path", r.dictation_file_path);
}
void VisitTexts(DOCUMENTS_FTP_XML_DATA& r, const TextVisitor& visit) { VisitFtp(r, visit); }
void VisitTexts(DOCUMENTS_SMTP_XML_DATA& r, const TextVisitor& visit) { VisitShortSmtp(r, visit); }
void VisitTexts(DOCUMENTS_ITEMLIST_XML_DATA& r, const TextVisitor& visit) {
  VisitDerivedList(r, visit);
}
void VisitTexts(DOCUMENTS_TYPIST_ITEM_XML_DATA& r, const TextVisitor& visit) {
  visit("guid", r.guid);
  visit("document_file_name", r.document_file_name);
  visit("document_file_path", r.document_file_path);
  visit("dictation_file_name", r.dictation_file_name);
  visit("dictation_file_path", r.dictation_file_path);
  visit("status", r.status);
  visit("To", r.To);
  visit("Received", r.Received);
}
void VisitTexts(SENTITEMS_TYPIST_ITEM_XML_DATA& r, const TextVisitor& visit) {
  visit("guid", r.guid);
  visit("status", r.status);
  visit("document_file_name", r.document_file_name);
  visit("document_file_path", r.document_file_path);
  visit("dictation_file_name", r.dictation_file_name);
  visit("dictation_file_path", r.dictation_file_path);
  visit("protocol", r.protocol);
  visit("date", r.date);
  visit("time", r.time);
}
void VisitTexts(SENTITEMS_TYPIST_FTP_XML_DATA& r, const TextVisitor& visit) { VisitFtp(r, visit); }
void VisitTexts(SENTITEMS_TYPIST_SMTP_XML_DATA& r, const TextVisitor& visit) {
  VisitFullSmtp(r, visit);
}
void VisitTexts(SENTITEMS_TYPIST_ITEMLIST_XML_DATA& r, const TextVisitor& visit) {
  VisitDerivedList(r, visit);
}

void VisitTexts(OUTBOX_ITEM_XML_DATA& r, const TextVisitor& visit) {
  visit("guid", r.guid);
  visit("dictation_file_name", r.dictation_file_name);
  visit("dictation_file_path", r.dictation_file_path);
  visit("protocol", r.protocol);
  visit("date", r.date);
  visit("time", r.time);
}
void VisitTexts(OUTBOX_FTP_XML_DATA& r, const TextVisitor& visit) { VisitFtp(r, visit); }
void VisitTexts(OUTBOX_SMTP_XML_DATA& r, const TextVisitor& visit) { VisitOutboxSmtp(r, visit); }
void VisitTexts(OUTBOX_ERRINFO_XML_DATA& r, const TextVisitor& visit) { VisitError(r, visit); }
void VisitTexts(OUTBOX_ITEMLIST_XML_DATA& r, const TextVisitor& visit) {
  VisitDerivedList(r, visit);
}
void VisitTexts(OUTBOX_SRVINFO_XML_DATA& r, const TextVisitor& visit) { VisitServer(r, visit); }
void VisitTexts(OUTBOX_SRVINFOLIST_XML_DATA& r, const TextVisitor& visit) { VisitServer(r, visit); }
void VisitTexts(OUTBOX_TYPIST_ITEM_XML_DATA& r, const TextVisitor& visit) {
  visit("guid", r.guid);
  visit("document_file_name", r.document_file_name);
  visit("document_file_path", r.document_file_path);
  visit("dictation_file_name", r.dictation_file_name);
  visit("dictation_file_path", r.dictation_file_path);
  visit("protocol", r.protocol);
  visit("date", r.date);
  visit("time", r.time);
}
void VisitTexts(OUTBOX_TYPIST_FTP_XML_DATA& r, const TextVisitor& visit) { VisitFtp(r, visit); }
void VisitTexts(OUTBOX_TYPIST_SMTP_XML_DATA& r, const TextVisitor& visit) {
  VisitOutboxSmtp(r, visit);
  visit("to_address", r.to_address);
  visit("cc_address", r.cc_address);
  visit("bcc_address", r.bcc_address);
}
void VisitTexts(OUTBOX_TYPIST_ERRINFO_XML_DATA& r, const TextVisitor& visit) {
  VisitError(r, visit);
}
void VisitTexts(OUTBOX_TYPIST_ITEMLIST_XML_DATA& r, const TextVisitor& visit) {
  VisitDerivedList(r, visit);
}
void VisitTexts(OUTBOX_TYPIST_SRVINFO_XML_DATA& r, const TextVisitor& visit) {
  VisitServer(r, visit);
}
void VisitTexts(OUTBOX_TYPIST_SRVINFOLIST_XML_DATA& r, const TextVisitor& visit) {
  VisitServer(r, visit);
}

}  // namespace harness
}  // namespace Foldwise
