#include "engine/item_index.h"

#include <algorithm>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "dom/dom_scan.h"
#include "engine/key_match.h"
#include "foldwise/xml_document.h"

namespace Foldwise {
namespace {

constexpr char kGuid[] = "guid";

struct IndexedDocument {
  std::thread::id thread;
  std::weak_ptr<DomDocument> document;
  std::unique_ptr<ItemIndex> index;
};

// A bracket belongs to one thread, and so do the documents it caches and their indexes. The
// entries live in one process-wide list under a lock rather than in a thread_local list:
// mingw-w64 runs the destructors of thread_local objects after it has freed their storage. An
// entry whose document is gone (flushed and dropped at the end of its bracket, or replaced by a
// new list) is never used again, whichever thread made it; an entry of a live document is only
// removed by its own thread, so an index a thread is using stays where it is.
std::mutex indexesMutex;
std::vector<IndexedDocument>& Indexes() {
  static std::vector<IndexedDocument> indexes;
  return indexes;
}

void PruneLocked() {
  std::vector<IndexedDocument>& indexes = Indexes();
  indexes.erase(std::remove_if(indexes.begin(), indexes.end(),
                               [](const IndexedDocument& entry) {
                                 return entry.document.expired() || !entry.index;
                               }),
                indexes.end());
}

}  // namespace

ItemIndex::ItemIndex(const DomDocument& document) {
  ForEachItem(document, [&](DomNode item) {
    Add(item);
    return usable_;
  });
}

void ItemIndex::Add(DomNode item) {
  for (DomNode guid = FirstChildElement(item, kGuid); guid;
       guid = NextSiblingElement(guid, kGuid)) {
    std::string_view text;
    if (!SingleTextOf(guid, &text)) {
      usable_ = false;
      return;
    }
    if (text.empty() || (!shared_.empty() && shared_.count(std::string(text)) != 0)) continue;
    const auto [at, added] = unique_.emplace(text, item);
    if (added || at->second == item) continue;
    shared_.emplace(text);
    unique_.erase(at);
  }
}

bool ItemIndex::Find(std::string_view guid, DomNode* item) const {
  *item = DomNode();
  if (!shared_.empty() && shared_.count(std::string(guid)) != 0) return false;
  const auto found = unique_.find(guid);
  if (found != unique_.end()) *item = found->second;
  return true;
}

void ItemIndex::Added(DomNode item) { Add(item); }

void ItemIndex::Removing(DomNode item) {
  for (DomNode guid = FirstChildElement(item, kGuid); guid;
       guid = NextSiblingElement(guid, kGuid)) {
    std::string_view text;
    if (!SingleTextOf(guid, &text)) continue;
    const auto found = unique_.find(text);
    // A guid that several items share stays shared: lookups of it walk the items anyway.
    if (found != unique_.end() && found->second == item) unique_.erase(found);
  }
}

ItemIndex* BracketIndex(const std::shared_ptr<DomDocument>& document, bool build) {
  if (!document) return nullptr;
  const std::thread::id self = std::this_thread::get_id();
  const std::lock_guard<std::mutex> lock(indexesMutex);
  std::vector<IndexedDocument>& indexes = Indexes();
  if (!CXmlDocument::IsCacheActive()) {
    // Outside a bracket every operation loads its own document: whatever this thread left is
    // stale.
    indexes.erase(
        std::remove_if(indexes.begin(), indexes.end(),
                       [&](const IndexedDocument& entry) { return entry.thread == self; }),
        indexes.end());
    return nullptr;
  }
  for (IndexedDocument& entry : indexes) {
    if (entry.thread == self && entry.document.lock() == document) {
      return entry.index && entry.index->usable() ? entry.index.get() : nullptr;
    }
  }
  if (!build) return nullptr;
  PruneLocked();
  indexes.push_back({self, document, std::make_unique<ItemIndex>(*document)});
  ItemIndex* index = indexes.back().index.get();
  return index->usable() ? index : nullptr;
}

void DropIndex(const DomDocument* document) {
  const std::thread::id self = std::this_thread::get_id();
  const std::lock_guard<std::mutex> lock(indexesMutex);
  for (IndexedDocument& entry : Indexes()) {
    if (entry.thread != self) continue;
    const std::shared_ptr<DomDocument> held = entry.document.lock();
    if (held.get() == document) entry.index.reset();
  }
  PruneLocked();
}

}  // namespace Foldwise
