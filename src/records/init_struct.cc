// Record initialisers: each record goes back to its value-initialised state (every text empty,
// delivery_kind 0, no error list), so a field added to a record needs no change here.
#include "foldwise/cached_records.h"
#include "foldwise/document_records.h"
#include "foldwise/outbox_records.h"

namespace Foldwise {
namespace {

// An outbox list's error_list is the library's counted array: the host hands it back to the
// folder's release operation before resetting the record; resetting only forgets the pointer.
template <typename Record>
void Reset(Record& record) {
  record = Record();
}

}  // namespace

void InitStruct(VOICE_ITEM_XML_DATA& r) { Reset(r); }
void InitStruct(VOICE_FTP_XML_DATA& r) { Reset(r); }
void InitStruct(VOICE_SMTP_XML_DATA& r) { Reset(r); }
void InitStruct(VOICE_ITEMLIST_XML_DATA& r) { Reset(r); }
void InitStruct(SENTITEMS_ITEM_XML_DATA& r) { Reset(r); }
void InitStruct(SENTITEMS_FTP_XML_DATA& r) { Reset(r); }
void InitStruct(SENTITEMS_SMTP_XML_DATA& r) { Reset(r); }
void InitStruct(SENTITEMS_ITEMLIST_XML_DATA& r) { Reset(r); }
void InitStruct(INBOX_TYPIST_ITEM_XML_DATA& r) { Reset(r); }
void InitStruct(INBOX_TYPIST_FTP_XML_DATA& r) { Reset(r); }
void InitStruct(INBOX_TYPIST_SMTP_XML_DATA& r) { Reset(r); }
void InitStruct(INBOX_TYPIST_ITEMLIST_XML_DATA& r) { Reset(r); }
void InitStruct(DOCUMENTS_ITEM_XML_DATA& r) { Reset(r); }
void InitStruct(DOCUMENTS_FTP_XML_DATA& r) { Reset(r); }
void InitStruct(DOCUMENTS_SMTP_XML_DATA& r) { Reset(r); }
void InitStruct(DOCUMENTS_ITEMLIST_XML_DATA& r) { Reset(r); }
void InitStruct(DOCUMENTS_TYPIST_ITEM_XML_DATA& r) { Reset(r); }
void InitStruct(SENTITEMS_TYPIST_ITEM_XML_DATA& r) { Reset(r); }
void InitStruct(SENTITEMS_TYPIST_FTP_XML_DATA& r) { Reset(r); }
void InitStruct(SENTITEMS_TYPIST_SMTP_XML_DATA& r) { Reset(r); }
void InitStruct(SENTITEMS_TYPIST_ITEMLIST_XML_DATA& r) { Reset(r); }
void InitStruct(OUTBOX_ITEM_XML_DATA& r) { Reset(r); }
void InitStruct(OUTBOX_FTP_XML_DATA& r) { Reset(r); }
void InitStruct(OUTBOX_SMTP_XML_DATA& r) { Reset(r); }
void InitStruct(OUTBOX_ERRINFO_XML_DATA& r) { Reset(r); }
void InitStruct(OUTBOX_ITEMLIST_XML_DATA& r) { Reset(r); }
void InitStruct(OUTBOX_SRVINFO_XML_DATA& r) { Reset(r); }
void InitStruct(OUTBOX_SRVINFOLIST_XML_DATA& r) { Reset(r); }
void InitStruct(OUTBOX_TYPIST_ITEM_XML_DATA& r) { Reset(r); }
void InitStruct(OUTBOX_TYPIST_FTP_XML_DATA& r) { Reset(r); }
void InitStruct(OUTBOX_TYPIST_SMTP_XML_DATA& r) { Reset(r); }
void InitStruct(OUTBOX_TYPIST_ERRINFO_XML_DATA& r) { Reset(r); }
void InitStruct(OUTBOX_TYPIST_ITEMLIST_XML_DATA& r) { Reset(r); }
void InitStruct(OUTBOX_TYPIST_SRVINFO_XML_DATA& r) { Reset(r); }
void InitStruct(OUTBOX_TYPIST_SRVINFOLIST_XML_DATA& r) { Reset(r); }

}  // namespace Foldwise
