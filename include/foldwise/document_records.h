// Records of the author's and the typist's documents folders and of the typist's sent items.
#ifndef FOLDWISE_DOCUMENT_RECORDS_H_
#define FOLDWISE_DOCUMENT_RECORDS_H_

#include <string>

#include "foldwise/cached_records.h"
#include "foldwise/export.h"

namespace Foldwise {

struct DOCUMENTS_ITEM_XML_DATA {
  std::string guid;
  std::string document_file_name;
  std::string document_file_path;
  std::string protocol;
  std::string date;
  std::string time;
  std::string dictation_file_name;
  std::string dictation_file_path;
};

struct DOCUMENTS_FTP_XML_DATA {
  std::string server;
  std::string folder;
};

struct DOCUMENTS_SMTP_XML_DATA {
  std::string from;
  std::string subject;
  std::string body;
};

// The stored entry's fields under their own names (the item part), then the delivery details.
struct DOCUMENTS_ITEMLIST_XML_DATA : DOCUMENTS_ITEM_XML_DATA {
  using Item = DOCUMENTS_ITEM_XML_DATA;
  unsigned char delivery_kind = kDeliveryNone;
  DOCUMENTS_FTP_XML_DATA ftp;
  DOCUMENTS_SMTP_XML_DATA smtp;
};

struct DOCUMENTS_TYPIST_ITEM_XML_DATA {
  std::string guid;
  std::string document_file_name;
  std::string document_file_path;
  std::string dictation_file_name;
  std::string dictation_file_path;
  std::string status;
  std::string To;
  std::string Received;
};

struct SENTITEMS_TYPIST_ITEM_XML_DATA {
  std::string guid;
  std::string status;
  std::string document_file_name;
  std::string document_file_path;
  std::string dictation_file_name;
  std::string dictation_file_path;
  std::string protocol;
  std::string date;
  std::string time;
};

struct SENTITEMS_TYPIST_FTP_XML_DATA {
  std::string server;
  std::string folder;
};

struct SENTITEMS_TYPIST_SMTP_XML_DATA {
  std::string from;
  std::string to;
  std::string cc;
  std::string bcc;
  std::string subject;
  std::string body;
};

struct SENTITEMS_TYPIST_ITEMLIST_XML_DATA : SENTITEMS_TYPIST_ITEM_XML_DATA {
  using Item = SENTITEMS_TYPIST_ITEM_XML_DATA;
  unsigned char delivery_kind = kDeliveryNone;
  SENTITEMS_TYPIST_FTP_XML_DATA ftp;
  SENTITEMS_TYPIST_SMTP_XML_DATA smtp;
};

FOLDWISE_EXPORT void InitStruct(DOCUMENTS_ITEM_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(DOCUMENTS_FTP_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(DOCUMENTS_SMTP_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(DOCUMENTS_ITEMLIST_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(DOCUMENTS_TYPIST_ITEM_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(SENTITEMS_TYPIST_ITEM_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(SENTITEMS_TYPIST_FTP_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(SENTITEMS_TYPIST_SMTP_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(SENTITEMS_TYPIST_ITEMLIST_XML_DATA& record);

}  // namespace Foldwise

#endif  // FOLDWISE_DOCUMENT_RECORDS_H_
