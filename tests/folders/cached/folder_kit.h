// Test-side views of the three folders: a readable text of every record, so that a mismatch
// names the field, and the file names the typed tests look at.
#ifndef FOLDWISE_TESTS_CACHED_FOLDERS_FOLDER_KIT_H_
#define FOLDWISE_TESTS_CACHED_FOLDERS_FOLDER_KIT_H_

#include <string>

#include "foldwise/cached_folders.h"

namespace Foldwise {
namespace testing {

inline std::string Join(std::initializer_list<std::string> parts) {
  std::string text;
  for (const std::string& part : parts) text += part + "|";
  return text;
}

inline std::string Show(const VOICE_ITEM_XML_DATA& r) {
  return Join({r.guid, r.dictation_file_name, r.dictation_file_path, r.status, r.document_file_name,
               r.document_file_path, r.archive, r.sent, r.protocol});
}
inline std::string Show(const SENTITEMS_ITEM_XML_DATA& r) {
  return Join({r.guid, r.status, r.dictation_file_name, r.dictation_file_path, r.document_file_name,
               r.document_file_path, r.protocol, r.date, r.time});
}
inline std::string Show(const INBOX_TYPIST_ITEM_XML_DATA& r) {
  return Join({r.guid, r.dictation_file_name, r.dictation_file_path, r.status, r.protocol, r.date,
               r.time, r.document_file_name, r.document_file_path});
}
inline std::string Show(const SENTITEMS_SMTP_XML_DATA& r) {
  return Join({r.from, r.to, r.cc, r.bcc, r.subject, r.body});
}
template <typename Smtp>
std::string ShowShortSmtp(const Smtp& r) {
  return Join({r.from, r.subject, r.body});
}
inline std::string Show(const VOICE_SMTP_XML_DATA& r) { return ShowShortSmtp(r); }
inline std::string Show(const INBOX_TYPIST_SMTP_XML_DATA& r) { return ShowShortSmtp(r); }
template <typename ItemList>
auto Show(const ItemList& r) -> decltype(r.ftp.server, std::string()) {
  return Show(r.item) + "kind " + std::to_string(r.delivery_kind) + "|" + r.ftp.server + "|" +
         r.ftp.folder + "|" + Show(r.smtp);
}

// The file names of each folder, beside the folder class.
template <typename FolderClass>
struct Kit;

template <>
struct Kit<CVoiceFolderXML> {
  static constexpr const char* kPlain = "VoiceFolder.xml";
  static constexpr const char* kEncrypted = "VoiceEFolder.xml";
};
template <>
struct Kit<CSentItemsFolderXML> {
  static constexpr const char* kPlain = "SentItemsFolder.xml";
  static constexpr const char* kEncrypted = "SentItemsEFolder.xml";
};
template <>
struct Kit<CInBoxTypistFolderXML> {
  static constexpr const char* kPlain = "InBoxTypistFolder.xml";
  static constexpr const char* kEncrypted = "InBoxTypistEFolder.xml";
};

}  // namespace testing
}  // namespace Foldwise

#endif  // FOLDWISE_TESTS_CACHED_FOLDERS_FOLDER_KIT_H_
