// The author's sent items: its files and the field lists of its records.
#ifndef FOLDWISE_FOLDERS_CACHED_SENT_ITEMS_SCHEMA_H_
#define FOLDWISE_FOLDERS_CACHED_SENT_ITEMS_SCHEMA_H_

#include "folders/cached/cached_folder_schema.h"

namespace Foldwise {

// Each item keeps its own dictation_file_path.
template <>
struct ItemSchema<SENTITEMS_ITEM_XML_DATA> {
  using R = SENTITEMS_ITEM_XML_DATA;
  static constexpr bool kFolderLevelPath = false;
  static constexpr TextField<R> kFields[] = {
      {&R::guid, "guid", false},
      {&R::dictation_file_name, "dictation_file_name", false},
      {&R::dictation_file_path, "dictation_file_path", true},
      {&R::status, "status", false},
      {&R::document_file_name, "document_file_name", false},
      {&R::document_file_path, "document_file_path", true},
      {&R::date, "date", false},
      {&R::time, "time", false},
      {&R::protocol, "protocol", false},
  };
};
static_assert(std::size(ItemSchema<SENTITEMS_ITEM_XML_DATA>::kFields) == 9, "every field");

template <>
struct DeliverySchema<SENTITEMS_FTP_XML_DATA> : FtpSchema<SENTITEMS_FTP_XML_DATA> {};
template <>
struct DeliverySchema<SENTITEMS_SMTP_XML_DATA> : FullSmtpSchema<SENTITEMS_SMTP_XML_DATA> {};

template <>
struct CachedFolderSchema<SentItemsFolderRecords> {
  static constexpr ItemFileLayout kPlainFile = {
      "SentItemsFolder.xml", "Quillnote SentItemsFolderXML",
      ItemSchema<SENTITEMS_ITEM_XML_DATA>::kFolderLevelPath};
  static constexpr ItemFileLayout kEncryptedFile = {
      "SentItemsEFolder.xml", "Quillnote SentItems Encryption FolderXML",
      ItemSchema<SENTITEMS_ITEM_XML_DATA>::kFolderLevelPath};
  static constexpr bool kListingOpensCacheBracket = false;
  using Errors = FailureBecomesZero;
  using Paths = ResolverPaths;
};

}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_CACHED_SENT_ITEMS_SCHEMA_H_
