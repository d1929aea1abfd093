// The typist's inbox: its files and the field lists of its records.
#ifndef FOLDWISE_FOLDERS_CACHED_INBOX_TYPIST_SCHEMA_H_
#define FOLDWISE_FOLDERS_CACHED_INBOX_TYPIST_SCHEMA_H_

#include "folders/cached/cached_folder_schema.h"

namespace Foldwise {

// The file keeps one dictation_file_path under item_list for all its items, as the voice
// folder's does.
template <>
struct ItemSchema<INBOX_TYPIST_ITEM_XML_DATA> {
  using R = INBOX_TYPIST_ITEM_XML_DATA;
  static constexpr bool kFolderLevelPath = true;
  static constexpr TextField<R> kFields[] = {
      {&R::guid, "guid", false},
      {&R::dictation_file_name, "dictation_file_name", false},
      {&R::status, "status", false},
      {&R::document_file_name, "document_file_name", false},
      {&R::document_file_path, "document_file_path", true},
      {&R::date, "date", false},
      {&R::time, "time", false},
      {&R::protocol, "protocol", false},
  };
};
static_assert(std::size(ItemSchema<INBOX_TYPIST_ITEM_XML_DATA>::kFields) == 8,
              "every field but the folder-level dictation_file_path");

template <>
struct DeliverySchema<INBOX_TYPIST_FTP_XML_DATA> : FtpSchema<INBOX_TYPIST_FTP_XML_DATA> {};
template <>
struct DeliverySchema<INBOX_TYPIST_SMTP_XML_DATA> : ShortSmtpSchema<INBOX_TYPIST_SMTP_XML_DATA> {};

template <>
struct CachedFolderSchema<InBoxTypistFolderRecords> {
  static constexpr ItemFileLayout kPlainFile = {
      "InBoxTypistFolder.xml", "Quillnote InBoxTypistFolderXML",
      ItemSchema<INBOX_TYPIST_ITEM_XML_DATA>::kFolderLevelPath};
  static constexpr ItemFileLayout kEncryptedFile = {
      "InBoxTypistEFolder.xml", "Quillnote InBoxTypist Encryption FolderXML",
      ItemSchema<INBOX_TYPIST_ITEM_XML_DATA>::kFolderLevelPath};
  static constexpr bool kListingOpensCacheBracket = false;
  using Errors = FailureBecomesZero;
  using Paths = ResolverPaths;
};

}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_CACHED_INBOX_TYPIST_SCHEMA_H_
