// Record initialisers. Records of one shape share one body, as the field lists make them.
#include <type_traits>

#include "foldwise/cached_records.h"
#include "foldwise/document_records.h"
#include "foldwise/outbox_records.h"

namespace Foldwise {
namespace {

template <typename... Texts>
void ClearTexts(Texts&... texts) {
  (texts.clear(), ...);
}

template <typename Record>
void ClearTwo(Record& r) {
  ClearTexts(r.server, r.folder);
}

// The item part of a list record: an embedded `item` in the cached family, the base record
// elsewhere.
template <typename T, typename = void>
struct DerivesFromItem : std::false_type {};
template <typename T>
struct DerivesFromItem<T, std::void_t<typename T::Item>> : std::is_base_of<typename T::Item, T> {};

template <typename ItemList>
auto& ItemPart(ItemList& r) {
  if constexpr (DerivesFromItem<ItemList>::value) {
    return static_cast<typename ItemList::Item&>(r);
  } else {
    return r.item;
  }
}

template <typename ItemList>
void InitItemList(ItemList& r) {
  InitStruct(ItemPart(r));
  r.delivery_kind = kDeliveryNone;
  InitStruct(r.ftp);
  InitStruct(r.smtp);
}

template <typename ItemList>
void InitOutboxItemList(ItemList& r) {
  InitItemList(r);
  r.error_count = 0;
  r.error_list = nullptr;  // the array is the library's; the host releases it before resetting
}

template <typename ServerList>
void InitServerList(ServerList& r) {
  ClearTexts(r.protocol, r.server);
  r.error_count = 0;
  r.error_list = nullptr;
}

template <typename Mail>
void InitThreeTextMail(Mail& r) {
  ClearTexts(r.from, r.subject, r.body);
}

template <typename Mail>
void InitSixTextMail(Mail& r) {
  ClearTexts(r.from, r.to, r.cc, r.bcc, r.subject, r.body);
}

template <typename Mail>
void InitOutboxMail(Mail& r) {
  ClearTexts(r.to, r.cc, r.bcc, r.subject, r.body, r.to_id, r.cc_id, r.bcc_id);
}

template <typename Error>
void InitError(Error& r) {
  ClearTexts(r.date, r.time, r.error_message);
}

}  // namespace

void InitStruct(VOICE_ITEM_XML_DATA& r) {
  ClearTexts(r.guid, r.dictation_file_name, r.dictation_file_path, r.status, r.document_file_name,
             r.document_file_path, r.archive, r.sent, r.protocol);
}
void InitStruct(VOICE_FTP_XML_DATA& r) { ClearTwo(r); }
void InitStruct(VOICE_SMTP_XML_DATA& r) { InitThreeTextMail(r); }
void InitStruct(VOICE_ITEMLIST_XML_DATA& r) { InitItemList(r); }

void InitStruct(SENTITEMS_ITEM_XML_DATA& r) {
  ClearTexts(r.guid, r.status, r.dictation_file_name, r.dictation_file_path, r.document_file_name,
             r.document_file_path, r.protocol, r.date, r.time);
}
void InitStruct(SENTITEMS_FTP_XML_DATA& r) { ClearTwo(r); }
void InitStruct(SENTITEMS_SMTP_XML_DATA& r) { InitSixTextMail(r); }
void InitStruct(SENTITEMS_ITEMLIST_XML_DATA& r) { InitItemList(r); }

void InitStruct(INBOX_TYPIST_ITEM_XML_DATA& r) {
  ClearTexts(r.guid, r.dictation_file_name, r.dictation_file_path, r.status, r.protocol, r.date,
             r.time, r.document_file_name, r.document_file_path);
}
void InitStruct(INBOX_TYPIST_FTP_XML_DATA& r) { ClearTwo(r); }
void InitStruct(INBOX_TYPIST_SMTP_XML_DATA& r) { InitThreeTextMail(r); }
void InitStruct(INBOX_TYPIST_ITEMLIST_XML_DATA& r) { InitItemList(r); }

void InitStruct(DOCUMENTS_ITEM_XML_DATA& r) {
  ClearTexts(r.guid, r.document_file_name, r.document_file_path, r.protocol, r.date, r.time,
             r.dictation_file_name, r.dictation_file_path);
}
void InitStruct(DOCUMENTS_FTP_XML_DATA& r) { ClearTwo(r); }
void InitStruct(DOCUMENTS_SMTP_XML_DATA& r) { InitThreeTextMail(r); }
void InitStruct(DOCUMENTS_ITEMLIST_XML_DATA& r) { InitItemList(r); }

void InitStruct(DOCUMENTS_TYPIST_ITEM_XML_DATA& r) {
  ClearTexts(r.guid, r.document_file_name, r.document_file_path, r.dictation_file_name,
             r.dictation_file_path, r.status, r.To, r.Received);
}

void InitStruct(SENTITEMS_TYPIST_ITEM_XML_DATA& r) {
  ClearTexts(r.guid, r.status, r.document_file_name, r.document_file_path, r.dictation_file_name,
             r.dictation_file_path, r.protocol, r.date, r.time);
}
void InitStruct(SENTITEMS_TYPIST_FTP_XML_DATA& r) { ClearTwo(r); }
void InitStruct(SENTITEMS_TYPIST_SMTP_XML_DATA& r) { InitSixTextMail(r); }
void InitStruct(SENTITEMS_TYPIST_ITEMLIST_XML_DATA& r) { InitItemList(r); }

void InitStruct(OUTBOX_ITEM_XML_DATA& r) {
  ClearTexts(r.guid, r.dictation_file_name, r.dictation_file_path, r.protocol, r.date, r.time);
}
void InitStruct(OUTBOX_FTP_XML_DATA& r) { ClearTwo(r); }
void InitStruct(OUTBOX_SMTP_XML_DATA& r) { InitOutboxMail(r); }
void InitStruct(OUTBOX_ERRINFO_XML_DATA& r) { InitError(r); }
void InitStruct(OUTBOX_ITEMLIST_XML_DATA& r) { InitOutboxItemList(r); }
void InitStruct(OUTBOX_SRVINFO_XML_DATA& r) { ClearTexts(r.protocol, r.server); }
void InitStruct(OUTBOX_SRVINFOLIST_XML_DATA& r) { InitServerList(r); }

void InitStruct(OUTBOX_TYPIST_ITEM_XML_DATA& r) {
  ClearTexts(r.guid, r.document_file_name, r.document_file_path, r.dictation_file_name,
             r.dictation_file_path, r.protocol, r.date, r.time);
}
void InitStruct(OUTBOX_TYPIST_FTP_XML_DATA& r) { ClearTwo(r); }
void InitStruct(OUTBOX_TYPIST_SMTP_XML_DATA& r) {
  InitOutboxMail(r);
  ClearTexts(r.to_address, r.cc_address, r.bcc_address);
}
void InitStruct(OUTBOX_TYPIST_ERRINFO_XML_DATA& r) { InitError(r); }
void InitStruct(OUTBOX_TYPIST_ITEMLIST_XML_DATA& r) { InitOutboxItemList(r); }
void InitStruct(OUTBOX_TYPIST_SRVINFO_XML_DATA& r) { ClearTexts(r.protocol, r.server); }
void InitStruct(OUTBOX_TYPIST_SRVINFOLIST_XML_DATA& r) { InitServerList(r); }

}  // namespace Foldwise
