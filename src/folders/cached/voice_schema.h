// The author's voice folder: its files and the field lists of its records.
#ifndef FOLDWISE_FOLDERS_CACHED_VOICE_SCHEMA_H_
#define FOLDWISE_FOLDERS_CACHED_VOICE_SCHEMA_H_

#include "folders/cached/cached_folder_schema.h"

namespace Foldwise {

// The file keeps one dictation_file_path under item_list for all its items, so the record's
// path is not written per item (nor compared in a key).
template <>
struct ItemSchema<VOICE_ITEM_XML_DATA> {
  using R = VOICE_ITEM_XML_DATA;
  static constexpr bool kFolderLevelPath = true;
  static constexpr TextField<R> kFields[] = {
      {&R::guid, "guid", false},
      {&R::dictation_file_name, "dictation_file_name", false},
      {&R::status, "status", false},
      {&R::document_file_name, "document_file_name", false},
      {&R::document_file_path, "document_file_path", true},
      {&R::archive, "archive", false},
      {&R::sent, "sent", false},
      {&R::protocol, "protocol", false},
  };
};
static_assert(std::size(ItemSchema<VOICE_ITEM_XML_DATA>::kFields) == 8,
              "every field but the folder-level dictation_file_path");

template <>
struct DeliverySchema<VOICE_FTP_XML_DATA> : FtpSchema<VOICE_FTP_XML_DATA> {};
template <>
struct DeliverySchema<VOICE_SMTP_XML_DATA> : ShortSmtpSchema<VOICE_SMTP_XML_DATA> {};

template <>
struct CachedFolderSchema<VoiceFolderRecords> {
  static constexpr ItemFileLayout kPlainFile = {"VoiceFolder.xml", "Quillnote VoiceFolderXML",
                                                ItemSchema<VOICE_ITEM_XML_DATA>::kFolderLevelPath};
  static constexpr ItemFileLayout kEncryptedFile = {
      "VoiceEFolder.xml", "Quillnote Voice Encryption FolderXML",
      ItemSchema<VOICE_ITEM_XML_DATA>::kFolderLevelPath};
  // The list-form listing runs in a cache bracket and a resolver cache period of its own, so
  // each file is parsed once and repeated stored paths are resolved once.
  static constexpr bool kListingOpensCacheBracket = true;
  using Errors = FailureBecomesZero;
  using Paths = ResolverPaths;
};

}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_CACHED_VOICE_SCHEMA_H_
