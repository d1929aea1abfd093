// The item-file engine: one item file and its eight list operations.
#include "engine/item_file.h"

#include "location/file_path.h"
#include "platform/file_hold.h"
#include "storage/damaged_file.h"
#include "storage/document_cache.h"

namespace Foldwise {
namespace {

constexpr char kAllItems[] = "/root/item_list/item";
constexpr char kItemList[] = "/root/item_list";
constexpr int kItemListDepth = 1;
constexpr int kItemDepth = 2;

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
  return HasContent(path);
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
    return document->AsNode().SelectNodes(kAllItems).empty() ? 1 : 0;
  });
}

template <typename Policy>
int ItemFile<Policy>::CountItems(RecordCursor* key) {
  const CacheTurn turn;
  if (!turn.ok()) return 0;
  return WithDocument<Policy>(*this, path, [&] {
    const std::string query = key != nullptr ? key->BuildQuery() : kAllItems;
    return static_cast<int>(document->AsNode().SelectNodes(query).size());
  });
}

template <typename Policy>
int ItemFile<Policy>::ReadAll(RecordCursor& cursor) {
  const CacheTurn turn;
  if (!turn.ok()) return 0;
  return WithDocument<Policy>(*this, path, [&] {
    for (const DomNode& item : document->AsNode().SelectNodes(kAllItems)) {
      // A file holding more items than the cursor has records left fails at the first surplus.
      if (!cursor.ReadRecord(item, 1)) return 0;
    }
    return 1;
  });
}

template <typename Policy>
int ItemFile<Policy>::ReadFirstMatch(RecordCursor& key, RecordCursor& out) {
  const CacheTurn turn;
  if (!turn.ok()) return 0;
  return WithDocument<Policy>(*this, path, [&] {
    const DomNode item = document->AsNode().SelectSingleNode(key.BuildQuery());
    if (!item) return 0;
    return out.ReadRecord(item, 0);
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
    const DomNode itemList = document->AsNode().SelectSingleNode(kItemList);
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
    if (!item || !AppendChildIndented(itemList, item, kItemDepth)) return 0;
    return SaveDocument(path);
  });
}

template <typename Policy>
int ItemFile<Policy>::ChangeItems(RecordCursor& key, RecordCursor& values) {
  const CacheTurn turn;
  if (!turn.ok()) return 0;
  // Locked from the load to the save, so no other writer's change is lost in between.
  const platform::FileHold hold(Env::Current(), path);
  if (hold.error() != 0) return 0;
  return WithDocument<Policy>(*this, path, [&] {
    DomNode change = values.WriteRecord(0);
    if (!change) return 0;
    const DomNodeList matches = document->AsNode().SelectNodes(key.BuildQuery());
    if (matches.empty()) return 1;
    // Every match is checked before any is touched: inside a cache bracket the document is the
    // one the flush writes, so a change that fails halfway must not have begun.
    for (const DomNode& stored : matches) {
      if (!MergeFits(stored, change)) return 0;
    }
    bool first = true;
    for (const DomNode& stored : matches) {
      // Merging moves the fields a stored item lacks out of the change, so every further match
      // gets a change of its own; otherwise only the first one would receive new fields.
      if (!first) change = values.WriteRecord(0);
      first = false;
      if (!change || !MergeNode(stored, change)) return 0;
    }
    return SaveDocument(path);
  });
}

template <typename Policy>
int ItemFile<Policy>::DeleteItems(RecordCursor& key) {
  const CacheTurn turn;
  if (!turn.ok()) return 0;
  // Locked from the load to the save, so no other writer's change is lost in between.
  const platform::FileHold hold(Env::Current(), path);
  if (hold.error() != 0) return 0;
  return WithDocument<Policy>(*this, path, [&] {
    const DomNodeList matches = document->AsNode().SelectNodes(key.BuildQuery());
    if (matches.empty()) return 1;
    for (const DomNode& stored : matches) {
      if (!RemoveNodeAndEmptyAncestors(stored)) return 0;
    }
    return SaveDocument(path);
  });
}

template class ItemFile<FailureBecomesZero>;
template class ItemFile<ComErrorReachesHost>;

}  // namespace Foldwise
