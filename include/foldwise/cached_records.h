// Records of the voice, author sent-items and typist inbox folders.
//
// Thread safety: plain values. InitStruct touches only the record it is given.
#ifndef FOLDWISE_CACHED_RECORDS_H_
#define FOLDWISE_CACHED_RECORDS_H_

#include <string>

#include "foldwise/export.h"

namespace Foldwise {

// Values of the list records' delivery_kind.
constexpr unsigned char kDeliveryNone = 0;
constexpr unsigned char kDeliveryFtp = 1;
constexpr unsigned char kDeliveryMail = 2;

struct VOICE_ITEM_XML_DATA {
  std::string guid;
  std::string dictation_file_name;
  std::string dictation_file_path;
  std::string status;
  std::string document_file_name;
  std::string document_file_path;
  std::string archive;
  std::string sent;
  std::string protocol;
};

struct VOICE_FTP_XML_DATA {
  std::string server;
  std::string folder;
};

struct VOICE_SMTP_XML_DATA {
  std::string from;
  std::string subject;
  std::string body;
};

struct VOICE_ITEMLIST_XML_DATA {
  VOICE_ITEM_XML_DATA item;
  unsigned char delivery_kind = kDeliveryNone;
  VOICE_FTP_XML_DATA ftp;
  VOICE_SMTP_XML_DATA smtp;
};

struct SENTITEMS_ITEM_XML_DATA {
  std::string guid;
  std::string status;
  std::string dictation_file_name;
  std::string dictation_file_path;
  std::string document_file_name;
  std::string document_file_path;
  std::string protocol;
  std::string date;
  std::string time;
};

struct SENTITEMS_FTP_XML_DATA {
  std::string server;
  std::string folder;
};

struct SENTITEMS_SMTP_XML_DATA {
  std::string from;
  std::string to;
  std::string cc;
  std::string bcc;
  std::string subject;
  std::string body;
};

struct SENTITEMS_ITEMLIST_XML_DATA {
  SENTITEMS_ITEM_XML_DATA item;
  unsigned char delivery_kind = kDeliveryNone;
  SENTITEMS_FTP_XML_DATA ftp;
  SENTITEMS_SMTP_XML_DATA smtp;
};

struct INBOX_TYPIST_ITEM_XML_DATA {
  std::string guid;
  std::string dictation_file_name;
  std::string dictation_file_path;
  std::string status;
  std::string protocol;
  std::string date;
  std::string time;
  std::string document_file_name;
  std::string document_file_path;
};

struct INBOX_TYPIST_FTP_XML_DATA {
  std::string server;
  std::string folder;
};

struct INBOX_TYPIST_SMTP_XML_DATA {
  std::string from;
  std::string subject;
  std::string body;
};

struct INBOX_TYPIST_ITEMLIST_XML_DATA {
  INBOX_TYPIST_ITEM_XML_DATA item;
  unsigned char delivery_kind = kDeliveryNone;
  INBOX_TYPIST_FTP_XML_DATA ftp;
  INBOX_TYPIST_SMTP_XML_DATA smtp;
};

// Bring a record back to its empty state: every text empty, delivery_kind 0.
FOLDWISE_EXPORT void InitStruct(VOICE_ITEM_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(VOICE_FTP_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(VOICE_SMTP_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(VOICE_ITEMLIST_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(SENTITEMS_ITEM_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(SENTITEMS_FTP_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(SENTITEMS_SMTP_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(SENTITEMS_ITEMLIST_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(INBOX_TYPIST_ITEM_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(INBOX_TYPIST_FTP_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(INBOX_TYPIST_SMTP_XML_DATA& record);
FOLDWISE_EXPORT void InitStruct(INBOX_TYPIST_ITEMLIST_XML_DATA& record);

}  // namespace Foldwise

#endif  // FOLDWISE_CACHED_RECORDS_H_
