// The field tables of the six records of the cached folders and the dispatch by record type.
#include "cached_folders/record_serializers.h"

#include "cached_folders/item_serializer.h"
#include "foldwise/cached_folders.h"
#include "foldwise/file_path.h"

namespace Foldwise {

// The voice and inbox files keep one dictation_file_path under item_list for all their items,
// so their records' path is not written per item (nor compared in a key).
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
  static constexpr FieldTable<R> Fields() { return MakeTable(kFields); }
};

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
  static constexpr FieldTable<R> Fields() { return MakeTable(kFields); }
};

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
  static constexpr FieldTable<R> Fields() { return MakeTable(kFields); }
};

// Every folder's FTP record has the same two fields.
template <typename Ftp>
struct FtpSchema {
  static constexpr TextField<Ftp> kFields[] = {
      {&Ftp::server, "server", false},
      {&Ftp::folder, "folder", false},
  };
  static constexpr FieldTable<Ftp> Fields() { return MakeTable(kFields); }
};

// The voice and inbox mail records; the sent items add the recipients.
template <typename Smtp>
struct ShortSmtpSchema {
  static constexpr TextField<Smtp> kFields[] = {
      {&Smtp::from, "from", false},
      {&Smtp::subject, "subject", false},
      {&Smtp::body, "body", false},
  };
  static constexpr FieldTable<Smtp> Fields() { return MakeTable(kFields); }
};

template <>
struct DeliverySchema<VOICE_FTP_XML_DATA> : FtpSchema<VOICE_FTP_XML_DATA> {};
template <>
struct DeliverySchema<SENTITEMS_FTP_XML_DATA> : FtpSchema<SENTITEMS_FTP_XML_DATA> {};
template <>
struct DeliverySchema<INBOX_TYPIST_FTP_XML_DATA> : FtpSchema<INBOX_TYPIST_FTP_XML_DATA> {};
template <>
struct DeliverySchema<VOICE_SMTP_XML_DATA> : ShortSmtpSchema<VOICE_SMTP_XML_DATA> {};
template <>
struct DeliverySchema<INBOX_TYPIST_SMTP_XML_DATA> : ShortSmtpSchema<INBOX_TYPIST_SMTP_XML_DATA> {};

template <>
struct DeliverySchema<SENTITEMS_SMTP_XML_DATA> {
  using R = SENTITEMS_SMTP_XML_DATA;
  static constexpr TextField<R> kFields[] = {
      {&R::from, "from", false}, {&R::to, "to", false},           {&R::cc, "cc", false},
      {&R::bcc, "bcc", false},   {&R::subject, "subject", false}, {&R::body, "body", false},
  };
  static constexpr FieldTable<R> Fields() { return MakeTable(kFields); }
};

namespace {

constexpr int kVoice = VoiceFolderTraits::kItemKind;
constexpr int kSentItems = SentItemsFolderTraits::kItemKind;
constexpr int kInBoxTypist = InBoxTypistFolderTraits::kItemKind;

constexpr RecordSerializer kSerializers[] = {
    ListSerializer<VOICE_ITEMLIST_XML_DATA>(kVoice),
    PlainSerializer<VOICE_ITEM_XML_DATA>(kVoice),
    ListSerializer<SENTITEMS_ITEMLIST_XML_DATA>(kSentItems),
    PlainSerializer<SENTITEMS_ITEM_XML_DATA>(kSentItems),
    ListSerializer<INBOX_TYPIST_ITEMLIST_XML_DATA>(kInBoxTypist),
    PlainSerializer<INBOX_TYPIST_ITEM_XML_DATA>(kInBoxTypist),
};

}  // namespace

const RecordSerializer* FindSerializer(int recordType) {
  for (const RecordSerializer& serializer : kSerializers) {
    if (serializer.recordType == recordType) return &serializer;
  }
  return nullptr;
}

bool HasFolderLevelPath(int kind) {
  const RecordSerializer* serializer = FindSerializer(PlainRecordType(kind));
  return serializer != nullptr && serializer->folderLevelPath;
}

std::string StorageForm(const std::string& value) {
  if (value.empty()) return value;
  FilePath path;
  path.SetDirectory(value);
  path.Canonicalize();
  return path.GetPath();
}

std::string LocalForm(const std::string& stored) {
  if (stored.empty()) return stored;
  FilePath path;
  path.SetDirectory(stored);
  path.ToLocalPath(0);
  return path.GetPath();
}

}  // namespace Foldwise
