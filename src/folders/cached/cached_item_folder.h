// The folder operations shared by the voice, sent-items and typist inbox folders: routing by
// the dictation file name, listing both files as one, and key operations applied to both.
//
// A family of this kind is one schema file: it specialises ItemSchema and DeliverySchema for its
// records (engine/item_codec.h) and CachedFolderSchema for its folder (cached_folder_schema.h);
// one source file includes it with this header and instantiates CachedItemFolder for the
// folder's records (see voice_folder.cc).
#ifndef FOLDWISE_FOLDERS_CACHED_CACHED_ITEM_FOLDER_H_
#define FOLDWISE_FOLDERS_CACHED_CACHED_ITEM_FOLDER_H_

#include <algorithm>
#include <memory>
#include <new>
#include <optional>
#include <type_traits>
#include <vector>

#include "engine/counted_array.h"
#include "engine/error_boundary.h"
#include "engine/item_codec.h"
#include "engine/item_file.h"
#include "engine/key_match.h"
#include "folders/cached/cached_folder_schema.h"
#include "foldwise/cached_folders.h"
#include "foldwise/location.h"
#include "foldwise/xml_document.h"
#include "location/file_path.h"
#include "storage/document_cache.h"
#include "storage/document_closer.h"

namespace Foldwise {

namespace cached_folder_internal {

// The plain entry of a record: the record itself, or the item a list-form record embeds.
template <typename Item, typename Record>
const Item& EntryOf(const Record& record) {
  if constexpr (std::is_same_v<Item, Record>) {
    return record;
  } else {
    return record.item;
  }
}

// 1 when the entry belongs to the encrypted file: its extension begins with "$".
template <typename Item>
int IsEncryptionItem(const Item& item) {
  FilePath name;
  name.SetFileName(item.dictation_file_name);
  const std::string extension = name.GetExtension();
  return !extension.empty() && extension[0] == '$' ? 1 : 0;
}

// Opens a resolver cache period when a resolver exists, and ends it on every path.
class ResolverCachePeriod {
 public:
  ResolverCachePeriod() : resolver_(NetworkPathResolver::ExistingInstance()) {
    if (resolver_) resolver_->BeginCachePeriod();
  }
  ~ResolverCachePeriod() {
    if (resolver_) resolver_->EndCachePeriod();
  }
  ResolverCachePeriod(const ResolverCachePeriod&) = delete;
  ResolverCachePeriod& operator=(const ResolverCachePeriod&) = delete;

 private:
  // Kept alive meanwhile, so the period ends on the very resolver it began on, even if the
  // instance is discarded in between.
  std::shared_ptr<NetworkPathResolver> resolver_;
};

// A cache bracket of the operation's own. Nothing is meant to change inside it, so whatever is
// left unsaved is dropped when it closes.
class OwnCacheBracket {
 public:
  OwnCacheBracket() { CXmlDocument::ActiveCacheDOMDocument(); }
  ~OwnCacheBracket() { CXmlDocument::DeactiveCacheDOMDocument(1); }
  OwnCacheBracket(const OwnCacheBracket&) = delete;
  OwnCacheBracket& operator=(const OwnCacheBracket&) = delete;
};

}  // namespace cached_folder_internal

// The engine stays out of the shared library's symbol table although its owner is exported.
template <typename Records>
class FOLDWISE_NO_EXPORT CachedItemFolder<Records>::Files {
 public:
  using Schema = CachedFolderSchema<Records>;
  using Paths = typename Schema::Paths;
  using File = ItemFile<typename Schema::Errors>;
  template <typename Record>
  using Cursor = TypedCursor<Record, Paths>;

  Files() : plain(Schema::kPlainFile), encrypted(Schema::kEncryptedFile) {}

  template <typename Record>
  int ListItems(long* count, Record** list);
  template <typename Record>
  int GetItem(Item& key, Record* out);
  int CountItems(Item* key);
  template <typename Record>
  int SetItems(long count, Record* list);
  template <typename Record>
  int AddItem(Record& item, int macros);
  template <typename Record>
  int ChangeItems(Item& key, Record& values, int macros);
  int DeleteItems(Item& key);

  File plain;
  File encrypted;
};

template <typename Records>
template <typename Record>
int CachedItemFolder<Records>::Files::ListItems(long* count, Record** list) {
  using cached_folder_internal::OwnCacheBracket;
  using cached_folder_internal::ResolverCachePeriod;
  // The folder's schema says whether its list form brackets itself (and ends the host's bracket).
  constexpr bool kOwnBracket =
      std::is_same_v<Record, ItemList> && Schema::kListingOpensCacheBracket;
  std::optional<OwnCacheBracket> bracket;
  if (kOwnBracket) bracket.emplace();
  *count = 0;
  *list = nullptr;
  // A turn that times out leaves both files uncounted: an empty listing, as when either file
  // cannot be opened it counts no entry.
  const CacheTurn turn;
  if (!turn.ok()) return 1;
  // Each file is parsed once: its entries are counted and then read from the same document.
  const DocumentCloser closeEncrypted(encrypted);
  const DocumentCloser closePlain(plain);
  const int encryptedCount = encrypted.OpenForListing();
  const int plainCount = plain.OpenForListing();
  const long n = std::max(encryptedCount, 0) + std::max(plainCount, 0);
  if (n <= 0) return 1;
  try {
    *list = NewCountedArray<Record>(static_cast<std::size_t>(n));
  } catch (const std::bad_alloc&) {
    return 0;
  }
  *count = n;
  Cursor<Record> cursor(*list, static_cast<int>(n));
  std::optional<ResolverCachePeriod> period;
  if (kOwnBracket) period.emplace();
  // Plain entries first; the encrypted ones continue in the same cursor. A file that could not
  // be opened fails the listing once the other file's entries are allocated.
  if (plainCount < 0 || !plain.ReadOpened(cursor)) return 0;
  if (encryptedCount < 0 || !encrypted.ReadOpened(cursor)) return 0;
  return 1;
}

template <typename Records>
template <typename Record>
int CachedItemFolder<Records>::Files::GetItem(Item& key, Record* out) {
  Cursor<Item> keyCursor(&key, 1);
  const KeyMatch match(keyCursor);  // a key the files cannot hold fails here
  Cursor<Record> output(out, 1);
  // A match in the plain file hides one in the encrypted file.
  if (plain.ReadFirstMatch(match, output)) return 1;
  if (encrypted.ReadFirstMatch(match, output)) return 1;
  return 0;
}

template <typename Records>
int CachedItemFolder<Records>::Files::CountItems(Item* key) {
  std::optional<KeyMatch> match;
  if (key != nullptr) {
    Cursor<Item> keyCursor(key, 1);
    match.emplace(keyCursor);  // a key the files cannot hold fails here
  }
  const KeyMatch* query = match ? &*match : nullptr;
  return encrypted.CountItems(query) + plain.CountItems(query);
}

template <typename Records>
template <typename Record>
int CachedItemFolder<Records>::Files::SetItems(long count, Record* list) {
  using cached_folder_internal::EntryOf;
  using cached_folder_internal::IsEncryptionItem;
  // Checked for both files before either is written: a refused value leaves both as they were.
  if (count > 0 && !Cursor<Record>::AreStorable(list, static_cast<std::size_t>(count))) return 0;
  std::vector<Record> plainRecords;
  std::vector<Record> encryptedRecords;
  for (long i = 0; i < count; ++i) {
    const Item& entry = EntryOf<Item, Record>(list[i]);
    (IsEncryptionItem(entry) ? encryptedRecords : plainRecords).push_back(list[i]);
  }
  Cursor<Record> cursor(plainRecords.data(), static_cast<int>(plainRecords.size()));
  if (!plain.WriteAll(cursor)) return 0;
  cursor.Bind(encryptedRecords.data(), static_cast<int>(encryptedRecords.size()));
  return encrypted.WriteAll(cursor);
}

template <typename Records>
template <typename Record>
int CachedItemFolder<Records>::Files::AddItem(Record& item, int macros) {
  using cached_folder_internal::EntryOf;
  using cached_folder_internal::IsEncryptionItem;
  if (!Cursor<Record>::AreStorable(&item, 1)) return 0;
  Cursor<Record> cursor(&item, 1);
  cursor.SetMacros(macros);
  File& file = IsEncryptionItem(EntryOf<Item, Record>(item)) ? encrypted : plain;
  return file.AppendItem(cursor);
}

template <typename Records>
template <typename Record>
int CachedItemFolder<Records>::Files::ChangeItems(Item& key, Record& values, int macros) {
  Cursor<Item> keyCursor(&key, 1);
  // A key or value the files cannot hold is refused the same whether or not the files exist.
  const std::optional<KeyMatch> match = UsableKey(keyCursor);
  if (!match || !Cursor<Record>::AreStorable(&values, 1)) return 0;
  Cursor<Record> valueCursor(&values, 1);
  valueCursor.SetMacros(macros);
  // Entries are changed where they are, even when the new name would route them elsewhere.
  int result = 1;
  if (plain.Exists()) result = plain.ChangeItems(*match, valueCursor);
  if (encrypted.Exists()) {
    result = encrypted.ChangeItems(*match, valueCursor) && result ? 1 : 0;
  }
  return result;
}

template <typename Records>
int CachedItemFolder<Records>::Files::DeleteItems(Item& key) {
  Cursor<Item> keyCursor(&key, 1);
  // A key the files cannot hold is refused the same whether or not the files exist.
  const std::optional<KeyMatch> match = UsableKey(keyCursor);
  if (!match) return 0;
  int result = 1;
  if (plain.Exists()) result = plain.DeleteItems(*match);
  if (encrypted.Exists()) result = encrypted.DeleteItems(*match) && result ? 1 : 0;
  return result;
}

template <typename Records>
CachedItemFolder<Records>::CachedItemFolder() : files(std::make_unique<Files>()) {}

template <typename Records>
CachedItemFolder<Records>::~CachedItemFolder() = default;

template <typename Records>
CachedItemFolder<Records>::CachedItemFolder(const CachedItemFolder& other)
    : files(std::make_unique<Files>(*other.files)) {}

template <typename Records>
CachedItemFolder<Records>& CachedItemFolder<Records>::operator=(const CachedItemFolder& other) {
  if (this != &other) *files = *other.files;
  return *this;
}

template <typename Records>
void CachedItemFolder<Records>::SetXmlFalePath(const char* dir) {
  const std::string directory = dir != nullptr ? dir : "";
  files->plain.SetXmlFalePath(directory);
  files->encrypted.SetXmlFalePath(directory);
}

template <typename Records>
void CachedItemFolder<Records>::MakeXML() {}

template <typename Records>
int CachedItemFolder<Records>::GetItemListXML(long* count, ItemList** list) {
  return NeverThrows(0, [&] { return files->ListItems(count, list); });
}

template <typename Records>
int CachedItemFolder<Records>::GetItemListXML(long* count, Item** list) {
  return NeverThrows(0, [&] { return files->ListItems(count, list); });
}

template <typename Records>
int CachedItemFolder<Records>::GetItemXML(Item& key, Item* out) {
  return NeverThrows(0, [&] { return files->GetItem(key, out); });
}

template <typename Records>
int CachedItemFolder<Records>::GetItemXML(Item& key, ItemList* out) {
  return NeverThrows(0, [&] { return files->GetItem(key, out); });
}

template <typename Records>
int CachedItemFolder<Records>::GetItemCountXML(Item* key) {
  return NeverThrows(0, [&] { return files->CountItems(key); });
}

template <typename Records>
int CachedItemFolder<Records>::SetItemListXML(long count, ItemList* list) {
  return NeverThrows(0, [&] { return files->SetItems(count, list); });
}

template <typename Records>
int CachedItemFolder<Records>::SetItemListXML(long count, Item* list) {
  return NeverThrows(0, [&] { return files->SetItems(count, list); });
}

template <typename Records>
int CachedItemFolder<Records>::AddItemXML(Item& item, int macros) {
  return NeverThrows(0, [&] { return files->AddItem(item, macros); });
}

template <typename Records>
int CachedItemFolder<Records>::AddItemXML(ItemList& item, int macros) {
  return NeverThrows(0, [&] { return files->AddItem(item, macros); });
}

template <typename Records>
int CachedItemFolder<Records>::ChangeItemXML(Item& key, Item& values, int macros) {
  return NeverThrows(0, [&] { return files->ChangeItems(key, values, macros); });
}

template <typename Records>
int CachedItemFolder<Records>::ChangeItemXML(Item& key, ItemList& values, int macros) {
  return NeverThrows(0, [&] { return files->ChangeItems(key, values, macros); });
}

template <typename Records>
int CachedItemFolder<Records>::DelItemXML(Item& key) {
  return NeverThrows(0, [&] { return files->DeleteItems(key); });
}

template <typename Records>
void CachedItemFolder<Records>::ReleaseItemList(Item*& list) {
  ReleaseCountedArray(list);
  list = nullptr;
}

template <typename Records>
void CachedItemFolder<Records>::ReleaseItemList(ItemList* list) {
  ReleaseCountedArray(list);
}

}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_CACHED_CACHED_ITEM_FOLDER_H_
