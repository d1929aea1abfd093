// The item-file engine: one item file and its eight list operations.
#include "engine/item_file.h"

#include <memory>
#include <string>
#include <string_view>

#include "dom/dom_scan.h"
#include "engine/guid_index.h"
#include "engine/key_match.h"
#include "foldwise/xml_document.h"
#include "location/file_path.h"
#include "platform/file_hold.h"
#include "storage/damaged_file.h"
#include "storage/document_cache.h"

namespace Foldwise {
namespace {

constexpr int kItemListDepth = 1;
constexpr int kItemDepth = 2;

constexpr char kGuid[] = "guid";

// Files |item| under every guid element it has, as KeyMatch reads one: any of them may supply
// the key's guid. False when a guid's text is spread over several nodes: a key could match its
// joined text, which the index cannot know.
bool FileItem(GuidIndex* index, DomNode item) {
  for (DomNode guid = FirstChildElement(item, kGuid); guid;
       guid = NextSiblingElement(guid, kGuid)) {
    std::string_view text;
    if (!SingleTextOf(guid, &text)) return false;
    index->Add(item, text);
  }
  return true;
}

void UnfileItem(GuidIndex* index, DomNode item) {
  for (DomNode guid = FirstChildElement(item, kGuid); guid;
       guid = NextSiblingElement(guid, kGuid)) {
    std::string_view text;
    if (SingleTextOf(guid, &text)) index->Remove(item, text);
  }
}

// The index of every item of |document|; null when one of them cannot be filed, and such a
// document is walked instead.
std::unique_ptr<GuidIndex> IndexItems(const DomDocument& document, DomNode) {
  auto index = std::make_unique<GuidIndex>(GuidCase::kExact);
  bool filed = true;
  ForEachItem(document, [&](DomNode item) {
    filed = FileItem(index.get(), item);
    return filed;
  });
  return filed ? std::move(index) : nullptr;
}

// The index of |document| when a cache bracket of this thread holds it: made on first use (when
// |build| is set) and kept for the rest of the bracket, kept current by the adds and deletes and
// dropped by anything else that may change a guid. Null outside a bracket, for a document it
// cannot index, and when there is none yet and |build| is not set.
GuidIndex* BracketIndex(const std::shared_ptr<DomDocument>& document, bool build) {
  if (!document) return nullptr;
  if (!CXmlDocument::IsCacheActive()) {
    // Outside a bracket every operation loads its own document: whatever this thread left is
    // stale.
    DropThreadGuidIndexes();
    return nullptr;
  }
  return GuidIndexOf(document, document->AsNode(), IndexOwner::kThread,
                     build ? &IndexItems : nullptr);
}

// The items |key| selects in |document|, in document order; only the first when |firstOnly|.
// Inside a cache bracket a key that names a guid is looked up in the document's index, so a
// bracket of many keyed operations walks the items once rather than once per operation. Items
// that share a guid are walked: only the walk knows their document order.
DomNodeList SelectItems(const std::shared_ptr<DomDocument>& document, const KeyMatch& key,
                        bool firstOnly) {
  DomNodeList matches;
  if (const std::string* guid = key.FieldText(kGuid)) {
    const GuidIndex* index = BracketIndex(document, /*build=*/true);
    DomNodeList candidates;
    if (index != nullptr) candidates = index->Find(*guid);
    if (index != nullptr && candidates.size() <= 1) {
      if (!candidates.empty() && key.Matches(candidates.front())) {
        matches.push_back(candidates.front());
      }
      return matches;
    }
  }
  ForEachItem(*document, [&](DomNode item) {
    if (key.Matches(item)) matches.push_back(item);
    return !firstOnly || matches.empty();
  });
  return matches;
}

int ItemCount(const DomDocument& document) {
  int count = 0;
  ForEachItem(document, [&](DomNode) {
    ++count;
    return true;
  });
  return count;
}

bool HasItems(const DomDocument& document) {
  bool found = false;
  ForEachItem(document, [&](DomNode) {
    found = true;
    return false;
  });
  return found;
}

}  // namespace

template <typename Policy>
ItemFile<Policy>::ItemFile(const ItemFileLayout& layout)
    : path(layout.fileName),
      identifier(layout.identifier),
      folderLevelPath(layout.folderLevelPath) {}

template <typename Policy>
ItemFile<Policy>::~ItemFile() = default;

template <typename Policy>
void ItemFile<Policy>::SetXmlFalePath(const std::string& dir) {
  FilePath composed(path);
  composed.SetDirectory(dir);
  // A network directory that the resolver can map to nothing keeps its composed form: the
  // operations then fail on it, rather than on an empty path that names the current directory.
  path = composed.GetLocalPath(1);
  if (path.empty()) path = composed.GetPath();
}

template <typename Policy>
int ItemFile<Policy>::Exists() {
  // Inside a cache bracket a file may exist only as the cached document so far: its entries
  // must be found by the operations that look for the file before they open it.
  if (TakeCachedDocument(*this, path)) {
    CloseDocument();
    return 1;
  }
  return HasContentInBracket(path);
}

template <typename Policy>
int ItemFile<Policy>::MakeTemplate() {
  return Guard<Policy>(0, [&] {
    const DomNode root = AppendSkeleton(identifier);
    const DomNode itemList = AddChildElement(root, "item_list", kItemListDepth);
    if (!itemList) return 0;
    if (folderLevelPath) {
      // The directory the file was made in, in storage form, describes all its items.
      FilePath stored(path);
      stored.Canonicalize();
      AddChildElement(itemList, "dictation_file_path", kItemDepth).SetText(stored.GetDirectory());
    }
    return 1;
  });
}

template <typename Policy>
int ItemFile<Policy>::OnAutoDelete() {
  return Guard<Policy>(0, [&] {
    if (!document) return 0;
    return HasItems(*document) ? 0 : 1;
  });
}

template <typename Policy>
int ItemFile<Policy>::CountItems(const KeyMatch* key) {
  const CacheTurn turn;
  if (!turn.ok()) return 0;
  return WithDocumentToRead<Policy>(*this, path, [&] {
    if (!document) return 0;
    if (key != nullptr) return static_cast<int>(SelectItems(document, *key, false).size());
    return ItemCount(*document);
  });
}

template <typename Policy>
int ItemFile<Policy>::OpenForListing() {
  if (!OpenDocumentToRead(path)) return -1;
  return Guard<Policy>(-1, [&] { return document ? ItemCount(*document) : 0; });
}

template <typename Policy>
int ItemFile<Policy>::ReadOpened(RecordCursor& cursor) {
  return Guard<Policy>(0, [&] {
    int result = 1;
    if (!document) return result;  // a missing file: nothing to read
    const ReadPass pass(cursor);
    ForEachItem(*document, [&](DomNode item) {
      // A file holding more items than the cursor has records left fails at the first surplus.
      result = cursor.ReadRecord(item, 1);
      return result != 0;
    });
    return result;
  });
}

template <typename Policy>
int ItemFile<Policy>::ReadFirstMatch(const KeyMatch& key, RecordCursor& out) {
  const CacheTurn turn;
  if (!turn.ok()) return 0;
  return WithDocumentToRead<Policy>(*this, path, [&] {
    if (!document) return 0;
    const DomNodeList item = SelectItems(document, key, true);
    if (item.empty()) return 0;
    return out.ReadRecord(item.front(), 0);
  });
}

template <typename Policy>
int ItemFile<Policy>::WriteAll(RecordCursor& cursor) {
  const CacheTurn turn;
  if (!turn.ok()) return 0;
  const platform::FileHold hold(Env::Current(), path);
  if (hold.error() != 0) return 0;
  // The old content is not wanted, but a file that does not parse may still hold what a host
  // needs: it is set aside rather than replaced or deleted.
  if (!MakeWayForNewFile(path)) return 0;
  return WithNewDocument<Policy>(*this, path, [&] {
    const DomNode itemList = FirstChildElement(document->DocumentElement(), "item_list");
    while (!cursor.IsExhausted()) {
      const DomNode item = cursor.WriteRecord(1);
      if (!item || !AppendChildIndented(itemList, item, kItemDepth)) return 0;
    }
    return SaveDocument(path);
  });
}

template <typename Policy>
int ItemFile<Policy>::AppendItem(RecordCursor& cursor) {
  const CacheTurn turn;
  if (!turn.ok()) return 0;
  // Locked from the load to the save, so no other writer's change is lost in between.
  const platform::FileHold hold(Env::Current(), path);
  if (hold.error() != 0) return 0;
  return WithDocument<Policy>(*this, path, [&] {
    // Inside a cache bracket a sent-items document whose last item was deleted has lost its
    // item_list; it is put back so the bracket can go on adding.
    const DomNode itemList = FindOrCreateChild(document->DocumentElement(), "item_list");
    const DomNode item = cursor.WriteRecord(0);
    if (!item) return 0;
    IndexKeeper keeper(document.get());
    const DomNode added = AppendChildIndented(itemList, item, kItemDepth);
    if (!added) return 0;
    // An item the index cannot file leaves it to be dropped: the next lookup walks.
    GuidIndex* index = BracketIndex(document, /*build=*/false);
    if (index == nullptr || FileItem(index, added)) keeper.Keep();
    return SaveDocument(path);
  });
}

template <typename Policy>
int ItemFile<Policy>::ChangeItems(const KeyMatch& key, RecordCursor& values) {
  const CacheTurn turn;
  if (!turn.ok()) return 0;
  // Locked from the load to the save, so no other writer's change is lost in between.
  const platform::FileHold hold(Env::Current(), path);
  if (hold.error() != 0) return 0;
  return WithDocument<Policy>(*this, path, [&] {
    DomNode change = values.WriteRecord(0);
    if (!change) return 0;
    const DomNodeList matches = SelectItems(document, key, false);
    if (matches.empty()) return 1;
    // Every match is checked before any is touched: inside a cache bracket the document is the
    // one the flush writes, so a change that fails halfway must not have begun.
    for (const DomNode& stored : matches) {
      if (!MergeFits(stored, change)) return 0;
    }
    // The index keys items by their guid texts: a change that sets or removes a guid makes it
    // stale, as does a merge that fails halfway.
    IndexKeeper keeper(document.get());
    const bool guidChanges = static_cast<bool>(FirstChildElement(change, kGuid));
    bool first = true;
    for (const DomNode& stored : matches) {
      // Merging moves the fields a stored item lacks out of the change, so every further match
      // gets a change of its own; otherwise only the first one would receive new fields.
      if (!first) change = values.WriteRecord(0);
      first = false;
      if (!change || !MergeNode(stored, change)) return 0;
    }
    if (!guidChanges) keeper.Keep();
    return SaveDocument(path);
  });
}

template <typename Policy>
int ItemFile<Policy>::DeleteItems(const KeyMatch& key) {
  const CacheTurn turn;
  if (!turn.ok()) return 0;
  // Locked from the load to the save, so no other writer's change is lost in between.
  const platform::FileHold hold(Env::Current(), path);
  if (hold.error() != 0) return 0;
  return WithDocument<Policy>(*this, path, [&] {
    const DomNodeList matches = SelectItems(document, key, false);
    if (matches.empty()) return 1;
    IndexKeeper keeper(document.get());
    GuidIndex* index = BracketIndex(document, /*build=*/false);
    for (const DomNode& stored : matches) {
      if (index != nullptr) UnfileItem(index, stored);
      if (!RemoveNodeAndEmptyAncestors(stored)) return 0;
    }
    keeper.Keep();
    return SaveDocument(path);
  });
}

template class ItemFile<FailureBecomesZero>;
template class ItemFile<ComErrorReachesHost>;

}  // namespace Foldwise
