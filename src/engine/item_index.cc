#include "engine/item_index.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "dom/dom_scan.h"
#include "engine/key_match.h"
#include "foldwise/xml_document.h"

namespace Foldwise {
namespace {

constexpr char kGuid[] = "guid";

struct IndexedDocument {
  std::weak_ptr<DomDocument> document;
  std::unique_ptr<ItemIndex> index;
};

// A bracket belongs to one thread, and so do the documents it caches. An entry whose document
// is gone (flushed and dropped at the end of its bracket, or replaced by a new list) is never
// used again: a new document at the same address has a different control block.
thread_local std::vector<IndexedDocument> indexes;

void Prune() {
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
  if (!CXmlDocument::IsCacheActive()) {
    // Outside a bracket every operation loads its own document: whatever is left is stale.
    indexes.clear();
    return nullptr;
  }
  for (IndexedDocument& entry : indexes) {
    if (entry.document.lock() == document) {
      return entry.index && entry.index->usable() ? entry.index.get() : nullptr;
    }
  }
  if (!build) return nullptr;
  Prune();
  indexes.push_back({document, std::make_unique<ItemIndex>(*document)});
  ItemIndex* index = indexes.back().index.get();
  return index->usable() ? index : nullptr;
}

void DropIndex(const DomDocument* document) {
  for (IndexedDocument& entry : indexes) {
    const std::shared_ptr<DomDocument> held = entry.document.lock();
    if (held.get() == document) entry.index.reset();
  }
  Prune();
}

}  // namespace Foldwise
