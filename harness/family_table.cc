#include "harness/family_table.h"

#include <cstdio>
#include <cstdlib>

#include "foldwise/cached_folders.h"
#include "foldwise/documents_folders.h"
#include "foldwise/folder_attributes.h"
#include "foldwise/outbox_folders.h"
#include "harness/operation_lists.h"

namespace Foldwise {
namespace harness {
namespace {

// |record|'s texts, paths left out: they come back in converted form.
template <typename Record>
Stored StoredOf(Record record) {
  Stored stored;
  VisitTexts(record, [&](const char* field, std::string& text) {
    if (std::string(field).find("path") == std::string::npos) stored.texts[field] = text;
  });
  return stored;
}

bool HoldsAnything(const Stored& stored) {
  for (const auto& entry : stored.texts) {
    if (!entry.second.empty()) return true;
  }
  return false;
}

template <typename ErrInfo>
void KeepErrors(Stored& stored, std::int32_t count, ErrInfo* errors) {
  stored.errors = count;
  for (std::int32_t i = 0; errors != nullptr && i < count; ++i) {
    VisitTexts(errors[i],
               [&](const char*, std::string& text) { stored.errorTexts.push_back(text); });
  }
}

template <typename Folder>
std::vector<Stored> ReadCached(const std::string& dir) {
  Folder folder = FolderAt<Folder>(dir);
  long count = 0;
  typename Folder::ItemList* list = nullptr;
  folder.GetItemListXML(&count, &list);
  std::vector<Stored> entries;
  for (long i = 0; list != nullptr && i < count; ++i) entries.push_back(StoredOf(list[i]));
  Folder::ReleaseItemList(list);
  return entries;
}

template <typename Folder, typename Listed>
std::vector<Stored> ReadDocuments(const std::string& dir) {
  Folder folder = FolderAt<Folder>(dir);
  long count = 0;
  Listed* list = nullptr;
  folder.GetItemListXML(&count, &list);
  std::vector<Stored> entries;
  for (long i = 0; list != nullptr && i < count; ++i) {
    Stored stored = StoredOf(list[i]);
    if (HoldsAnything(stored)) entries.push_back(stored);
  }
  folder.DelItemListXML(list);
  return entries;
}

template <typename Folder>
std::vector<Stored> ReadOutbox(const std::string& dir) {
  Folder folder = FolderAt<Folder>(dir);
  std::vector<Stored> entries;
  std::int32_t count = 0;
  typename Folder::ItemList* list = nullptr;
  folder.GetItemListXML(&count, &list);
  for (std::int32_t i = 0; list != nullptr && i < count; ++i) {
    Stored details = StoredOf(list[i]);
    KeepErrors(details, list[i].error_count, list[i].error_list);
    if (HoldsAnything(details)) entries.push_back(details);
  }
  folder.DelItemListXML(count, list);
  count = 0;
  typename Folder::SrvInfoList* servers = nullptr;
  folder.GetServerInfoListXML(&count, &servers);
  for (std::int32_t i = 0; servers != nullptr && i < count; ++i) {
    Stored stored = StoredOf(servers[i]);
    stored.server = true;
    KeepErrors(stored, servers[i].error_count, servers[i].error_list);
    entries.push_back(stored);
  }
  folder.DelServerInfoListXML(count, servers);
  return entries;
}

std::vector<Stored> ReadAttributes(const std::string& dir) {
  CFolderAttrXML folder = FolderAt<CFolderAttrXML>(dir);
  Stored encryption, confidentiality;
  encryption.texts = {{"guid", "encryption"}, {"status", ""}};
  confidentiality.texts = {{"guid", "confidentiality"}, {"status", ""}};
  if (folder.IsEncryption() != 0) {
    encryption.texts["status"] = "on";
    encryption.errors = folder.GetEncryptionVer();
  }
  if (folder.IsConfidentiality() != 0) {
    confidentiality.texts["status"] = "on";
    confidentiality.errors = folder.GetConfidentialityVer();
  }
  return {encryption, confidentiality};
}

// Runs the row |name| of |family| with the given texts for some fields of one role.
void RunWith(Family family, const std::string& dir, const char* name, Role role,
             Texts::Named fields) {
  Texts texts;
  for (const auto& [field, text] : fields) texts.Set(role, field, text);
  FindOperation(family, name).run(dir, texts);
}

}  // namespace

const char* FamilyName(Family family) {
  static const char* const kNames[kFamilyCount] = {
      "voice",         "sent items",       "typist inbox",      "attributes",
      "documents",     "typist documents", "typist sent items", "outbox",
      "typist outbox", "documents sync"};
  return kNames[family];
}

SaveFailure FailureOf(Family family) {
  return family <= kAttributes ? SaveFailure::kReturnsZero : SaveFailure::kRaisesComError;
}

const std::vector<Operation>& AllOperations() {
  static const Operations ops = [] {
    Operations all;
    AddCachedOperations(all);
    AddAttributeOperations(all);
    AddDocumentOperations(all);
    AddOutboxOperations(all);
    return all;
  }();
  return ops;
}

const Operation& FindOperation(Family family, const std::string& name) {
  for (const Operation& op : AllOperations()) {
    if (op.family == family && op.name == name) return op;
  }
  std::fprintf(stderr, "no operation \"%s\" in %s\n", name.c_str(), FamilyName(family));
  std::abort();
}

void SetupFamily(Family family, const std::string& dir) {
  // Each family's own rows make its good state, so the table and the set-up cannot drift.
  switch (family) {
    case kVoice:
    case kSentItems:
    case kTypistInbox:
      RunWith(family, dir, "add plain", Role::kValue, {{"guid", "g1"}});
      RunWith(family, dir, "add plain", Role::kValue, {{"guid", "g2"}});
      RunWith(family, dir, "add encrypted", Role::kValue, {{"guid", "g3"}});
      return;
    case kAttributes:
      FolderAt<CFolderAttrXML>(dir).EnableEncryption(1, 101);
      return;
    case kDocuments:
      RunWith(family, dir, "add ftp", Role::kValue, {{"guid", "g1"}});
      RunWith(family, dir, "add ftp", Role::kValue, {{"guid", "g2"}});
      return;
    case kTypistDocuments:
    case kTypistSentItems:
      RunWith(family, dir, "add", Role::kValue, {{"guid", "g1"}});
      RunWith(family, dir, "add", Role::kValue, {{"guid", "g2"}});
      return;
    case kOutbox:
    case kTypistOutbox:
      RunWith(family, dir, "add smtp", Role::kValue, {{"guid", "g1"}});
      RunWith(family, dir, "add smtp", Role::kValue, {{"guid", "g2"}});
      RunWith(family, dir, "add error", Role::kKey, {{"guid", "g2"}});
      RunWith(family, dir, "add server", Role::kValue, {{"protocol", "ftp"}, {"server", "srv"}});
      RunWith(family, dir, "add server error", Role::kKey, {});
      return;
    default:
      SetupFamily(kDocuments, dir);
      SetupFamily(kTypistDocuments, dir);
  }
}

std::vector<Stored> ReadFamily(Family family, const std::string& dir) {
  switch (family) {
    case kVoice:
      return ReadCached<CVoiceFolderXML>(dir);
    case kSentItems:
      return ReadCached<CSentItemsFolderXML>(dir);
    case kTypistInbox:
      return ReadCached<CInBoxTypistFolderXML>(dir);
    case kAttributes:
      return ReadAttributes(dir);
    case kDocuments:
      return ReadDocuments<CDocumentsFolderXML, DOCUMENTS_ITEMLIST_XML_DATA>(dir);
    case kTypistDocuments:
      return ReadDocuments<CDocumentsTypistFolderXML, DOCUMENTS_TYPIST_ITEM_XML_DATA>(dir);
    case kTypistSentItems:
      return ReadDocuments<CSentItemsTypistFolderXML, SENTITEMS_TYPIST_ITEMLIST_XML_DATA>(dir);
    case kOutbox:
      return ReadOutbox<COutBoxFolderXML>(dir);
    case kTypistOutbox:
      return ReadOutbox<COutBoxTypistFolderXML>(dir);
    default: {
      std::vector<Stored> both = ReadFamily(kDocuments, dir);
      for (Stored& stored : ReadFamily(kTypistDocuments, dir)) both.push_back(stored);
      return both;
    }
  }
}

}  // namespace harness
}  // namespace Foldwise
