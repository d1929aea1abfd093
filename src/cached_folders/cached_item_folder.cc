// The folder operations shared by the voice, sent-items and typist inbox folders: routing by
// the dictation file name, listing both files as one, and key operations applied to both.
#include <memory>
#include <new>
#include <optional>
#include <type_traits>
#include <vector>

#include "cached_folders/counted_array.h"
#include "cached_folders/record_cursor.h"
#include "foldwise/cached_folders.h"
#include "foldwise/file_path.h"
#include "foldwise/location.h"
#include "foldwise/xml_document.h"

namespace Foldwise {
namespace {

// The plain entry of a record: the record itself, or the item a list-form record embeds.
template <typename Item, typename Record>
const Item& EntryOf(const Record& record) {
  if constexpr (std::is_same_v<Item, Record>) {
    return record;
  } else {
    return record.item;
  }
}

template <typename Traits, typename Record>
constexpr int RecordTypeOf() {
  return std::is_same_v<Record, typename Traits::ItemList> ? ListRecordType(Traits::kItemKind)
                                                           : PlainRecordType(Traits::kItemKind);
}

// Opens a resolver cache period when a resolver exists, and ends it on every path, on the very
// resolver it opened it on (kept alive meanwhile, even if the instance is discarded).
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

}  // namespace

template <typename Traits>
CachedItemFolder<Traits>::CachedItemFolder()
    : plainFile(Traits::kItemKind, Traits::kPlainFileName, Traits::kPlainIdentifier),
      encryptedFile(Traits::kItemKind, Traits::kEncryptedFileName, Traits::kEncryptedIdentifier) {}

template <typename Traits>
int CachedItemFolder<Traits>::IsEncryptionItem(const Item& item) {
  FilePath name;
  name.SetFileName(item.dictation_file_name);
  const std::string extension = name.GetExtension();
  return !extension.empty() && extension[0] == '$' ? 1 : 0;
}

template <typename Traits>
void CachedItemFolder<Traits>::SetXmlFalePath(const char* dir) {
  const std::string directory = dir != nullptr ? dir : "";
  plainFile.SetXmlFalePath(directory);
  encryptedFile.SetXmlFalePath(directory);
}

template <typename Traits>
void CachedItemFolder<Traits>::MakeXML() {}

template <typename Traits>
int CachedItemFolder<Traits>::ReadAllInto(RecordCursor& cursor) {
  // Plain entries first; the encrypted ones continue in the same cursor.
  if (plainFile.Exists() && !plainFile.ReadAll(cursor)) return 0;
  if (encryptedFile.Exists() && !encryptedFile.ReadAll(cursor)) return 0;
  return 1;
}

template <typename Traits>
template <typename Record>
int CachedItemFolder<Traits>::ListItems(long* count, Record** list) {
  constexpr int kType = RecordTypeOf<Traits, Record>();
  // Counting and reading then share one parsed document per file.
  constexpr bool kOwnBracket =
      std::is_same_v<Record, ItemList> && Traits::kListingOpensCacheBracket;
  std::optional<OwnCacheBracket> bracket;
  if (kOwnBracket) bracket.emplace();
  *count = 0;
  *list = nullptr;
  const long n = encryptedFile.CountItems(nullptr) + plainFile.CountItems(nullptr);
  if (n <= 0) return 1;
  try {
    *list = NewCountedArray<Record>(static_cast<std::size_t>(n));
  } catch (const std::bad_alloc&) {
    return 0;
  }
  *count = n;
  RecordCursor cursor;
  cursor.Bind(kType, static_cast<int>(n), *list);
  std::optional<ResolverCachePeriod> period;
  if (kOwnBracket) period.emplace();
  return ReadAllInto(cursor);
}

template <typename Traits>
int CachedItemFolder<Traits>::GetItemListXML(long* count, ItemList** list) {
  return ListItems(count, list);
}

template <typename Traits>
int CachedItemFolder<Traits>::GetItemListXML(long* count, Item** list) {
  return ListItems(count, list);
}

template <typename Traits>
template <typename Record>
int CachedItemFolder<Traits>::GetItem(Item& key, Record* out) {
  constexpr int kType = RecordTypeOf<Traits, Record>();
  RecordCursor keyCursor;
  keyCursor.Bind(PlainRecordType(Traits::kItemKind), 1, &key);
  RecordCursor output;
  output.Bind(kType, 1, out);
  // A match in the plain file hides one in the encrypted file.
  if (plainFile.Exists() && plainFile.ReadFirstMatch(keyCursor, output)) return 1;
  if (encryptedFile.Exists() && encryptedFile.ReadFirstMatch(keyCursor, output)) return 1;
  return 0;
}

template <typename Traits>
int CachedItemFolder<Traits>::GetItemXML(Item& key, Item* out) {
  return GetItem(key, out);
}

template <typename Traits>
int CachedItemFolder<Traits>::GetItemXML(Item& key, ItemList* out) {
  return GetItem(key, out);
}

template <typename Traits>
int CachedItemFolder<Traits>::GetItemCountXML(Item* key) {
  RecordCursor keyCursor;
  if (key != nullptr) keyCursor.Bind(PlainRecordType(Traits::kItemKind), 1, key);
  RecordCursor* query = key != nullptr ? &keyCursor : nullptr;
  return encryptedFile.CountItems(query) + plainFile.CountItems(query);
}

template <typename Traits>
template <typename Record>
int CachedItemFolder<Traits>::SetItems(long count, Record* list) {
  constexpr int kType = RecordTypeOf<Traits, Record>();
  std::vector<Record> plain;
  std::vector<Record> encrypted;
  for (long i = 0; i < count; ++i) {
    const Item& entry = EntryOf<Item, Record>(list[i]);
    (IsEncryptionItem(entry) ? encrypted : plain).push_back(list[i]);
  }
  RecordCursor cursor;
  cursor.Bind(kType, static_cast<int>(plain.size()), plain.data());
  if (!plainFile.WriteAll(cursor)) return 0;
  cursor.Bind(kType, static_cast<int>(encrypted.size()), encrypted.data());
  return encryptedFile.WriteAll(cursor);
}

template <typename Traits>
int CachedItemFolder<Traits>::SetItemListXML(long count, ItemList* list) {
  return SetItems(count, list);
}

template <typename Traits>
int CachedItemFolder<Traits>::SetItemListXML(long count, Item* list) {
  return SetItems(count, list);
}

template <typename Traits>
template <typename Record>
int CachedItemFolder<Traits>::AddItem(Record& item, int macros) {
  constexpr int kType = RecordTypeOf<Traits, Record>();
  RecordCursor cursor;
  cursor.Bind(kType, 1, &item);
  cursor.SetMacros(macros);
  FolderFile& file = IsEncryptionItem(EntryOf<Item, Record>(item)) ? encryptedFile : plainFile;
  return file.AppendItem(cursor);
}

template <typename Traits>
int CachedItemFolder<Traits>::AddItemXML(Item& item, int macros) {
  return AddItem(item, macros);
}

template <typename Traits>
int CachedItemFolder<Traits>::AddItemXML(ItemList& item, int macros) {
  return AddItem(item, macros);
}

template <typename Traits>
template <typename Record>
int CachedItemFolder<Traits>::ChangeItems(Item& key, Record& values, int macros) {
  constexpr int kType = RecordTypeOf<Traits, Record>();
  RecordCursor keyCursor;
  keyCursor.Bind(PlainRecordType(Traits::kItemKind), 1, &key);
  RecordCursor valueCursor;
  valueCursor.Bind(kType, 1, &values);
  valueCursor.SetMacros(macros);
  // Entries are changed where they are, even when the new name would route them elsewhere.
  int result = 1;
  if (plainFile.Exists()) result = plainFile.ChangeItems(keyCursor, valueCursor);
  if (encryptedFile.Exists()) {
    result = encryptedFile.ChangeItems(keyCursor, valueCursor) && result ? 1 : 0;
  }
  return result;
}

template <typename Traits>
int CachedItemFolder<Traits>::ChangeItemXML(Item& key, Item& values, int macros) {
  return ChangeItems(key, values, macros);
}

template <typename Traits>
int CachedItemFolder<Traits>::ChangeItemXML(Item& key, ItemList& values, int macros) {
  return ChangeItems(key, values, macros);
}

template <typename Traits>
int CachedItemFolder<Traits>::DelItemXML(Item& key) {
  RecordCursor keyCursor;
  keyCursor.Bind(PlainRecordType(Traits::kItemKind), 1, &key);
  int result = 1;
  if (plainFile.Exists()) result = plainFile.DeleteItems(keyCursor);
  if (encryptedFile.Exists()) result = encryptedFile.DeleteItems(keyCursor) && result ? 1 : 0;
  return result;
}

template <typename Traits>
void CachedItemFolder<Traits>::ReleaseItemList(Item*& list) {
  ReleaseCountedArray(list);
  list = nullptr;
}

template <typename Traits>
void CachedItemFolder<Traits>::ReleaseItemList(ItemList* list) {
  ReleaseCountedArray(list);
}

template class CachedItemFolder<VoiceFolderTraits>;
template class CachedItemFolder<SentItemsFolderTraits>;
template class CachedItemFolder<InBoxTypistFolderTraits>;

}  // namespace Foldwise
