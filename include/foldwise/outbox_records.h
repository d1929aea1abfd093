// Records of the author's and the typist's outbox.
#ifndef FOLDWISE_OUTBOX_RECORDS_H_
#define FOLDWISE_OUTBOX_RECORDS_H_

#include <cstdint>
#include <string>

#include "foldwise/cached_records.h"
#include "foldwise/export.h"

namespace Foldwise {

struct OUTBOX_ITEM_XML_DATA {
  std::string guid;
  std::string dictation_file_name;
  std::string dictation_file_path;
  std::string protocol;
  std::string date;
  std::string time;
};

struct OUTBOX_FTP_XML_DATA {
  std::string server;
  std::string folder;
};

struct OUTBOX_SMTP_XML_DATA {
  std::string to;
  std::string cc;
  std::string bcc;
  std::string subject;
  std::string body;
  std::string to_id;
  std::string cc_id;
  std::string bcc_id;
};

struct OUTBOX_ERRINFO_XML_DATA {
  std::string date;
  std::string time;
  std::string error_message;
};

// The item's fields under their own names (the item part), then the delivery details and the
// errors. error_list is a counted array owned by the library; release it with the folder's
// operation.
struct OUTBOX_ITEMLIST_XML_DATA : OUTBOX_ITEM_XML_DATA {
  using Item = OUTBOX_ITEM_XML_DATA;
  unsigned char delivery_kind = kDeliveryNone;
  OUTBOX_FTP_XML_DATA ftp;
  OUTBOX_SMTP_XML_DATA smtp;
  std::int32_t error_count = 0;
  OUTBOX_ERRINFO_XML_DATA* error_list = nullptr;
};

struct OUTBOX_SRVINFO_XML_DATA {
  std::string protocol;
  std::string server;
};

struct OUTBOX_SRVINFOLIST_XML_DATA {
  std::string protocol;
  std::string server;
  std::int32_t error_count = 0;
  OUTBOX_ERRINFO_XML_DATA* error_list = nullptr;
};

struct OUTBOX_TYPIST_ITEM_XML_DATA {
  std::string guid;
  std::string document_file_name;
  std::string document_file_path;
  std::string dictation_file_name;
  std::string dictation_file_path;
  std::string protocol;
  std::string date;
  std::string time;
};

struct OUTBOX_TYPIST_FTP_XML_DATA {
  std::string server;
  std::string folder;
};

struct OUTBOX_TYPIST_SMTP_XML_DATA {
  std::string to;
  std::string cc;
  std::string bcc;
  std::string subject;
  std::string body;
  std::string to_id;
  std::string cc_id;
  std::string bcc_id;
  std::string to_address;
  std::string cc_address;
  std::string bcc_address;
};

struct OUTBOX_TYPIST_ERRINFO_XML_DATA {
  std::string date;
  std::string time;
  std::string error_message;
};

struct OUTBOX_TYPIST_ITEMLIST_XML_DATA : OUTBOX_TYPIST_ITEM_XML_DATA {
  using Item = OUTBOX_TYPIST_ITEM_XML_DATA;
  unsigned char delivery_kind = kDeliveryNone;
  OUTBOX_TYPIST_FTP_XML_DATA ftp;
  OUTBOX_TYPIST_SMTP_XML_DATA smtp;
  std::int32_t error_count = 0;
  OUTBOX_TYPIST_ERRINFO_XML_DATA* error_list = nullptr;
};

struct OUTBOX_TYPIST_SRVINFO_XML_DATA {
  std::string protocol;
  std::string server;
};

struct OUTBOX_TYPIST_SRVINFOLIST_XML_DATA {
  std::string protocol;
  std::string server;
  std::int32_t error_count = 0;
  OUTBOX_TYPIST_ERRINFO_XML_DATA* error_list = nullptr;
};

// Empty every text; zero delivery_kind and error_count; null error_list without releasing it.
FOLDWISE_EXPORT void InitStruct(OUTBOX_ITEM_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(OUTBOX_FTP_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(OUTBOX_SMTP_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(OUTBOX_ERRINFO_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(OUTBOX_ITEMLIST_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(OUTBOX_SRVINFO_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(OUTBOX_SRVINFOLIST_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(OUTBOX_TYPIST_ITEM_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(OUTBOX_TYPIST_FTP_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(OUTBOX_TYPIST_SMTP_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(OUTBOX_TYPIST_ERRINFO_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(OUTBOX_TYPIST_ITEMLIST_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(OUTBOX_TYPIST_SRVINFO_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(OUTBOX_TYPIST_SRVINFOLIST_XML_DATA& record);

}  // namespace Foldwise

#endif  // FOLDWISE_OUTBOX_RECORDS_H_
