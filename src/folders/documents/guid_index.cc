#include "folders/documents/guid_index.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string_view>
#include <unordered_map>

#include "dom/dom_scan.h"

namespace Foldwise {
namespace documents {
namespace {

// The hash of |text| with letter case folded as the identity match ignores it (ASCII letters
// only), built in |scratch|. Items are indexed by this hash alone: the match that follows compares
// every field of each candidate, the guid included, so a collision costs a comparison, never a
// wrong answer, and the index holds no copy of any text.
std::size_t FoldedHash(std::string_view text, std::string* scratch) {
  scratch->assign(text);
  for (char& c : *scratch) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return std::hash<std::string_view>()(*scratch);
}

// The folded hash of the guid of |item| as the identity match reads it; false when the item has
// no guid element, and so cannot match a key that names a guid.
bool GuidHashOf(DomNode item, std::string* scratch, std::size_t* hash) {
  const DomNode element = FirstChildElement(item, "guid");
  if (!element) return false;
  std::string_view text;
  *hash =
      element.SingleText(&text) ? FoldedHash(text, scratch) : FoldedHash(element.Text(), scratch);
  return true;
}

struct Index {
  // The document it describes: an index outlives no document, and one made at the same address
  // after the first was freed is told apart by the expired reference.
  std::weak_ptr<DomDocument> owner;
  const DomDocument* document = nullptr;
  DomNode itemList;
  std::unordered_map<std::size_t, std::vector<DomNode>> items;
};

// Few documents are held at once (one per folder object in a bracket), so a short list will do.
std::mutex mutex;
std::vector<std::unique_ptr<Index>>& Indexes() {
  static std::vector<std::unique_ptr<Index>> indexes;
  return indexes;
}

void DropExpired(std::vector<std::unique_ptr<Index>>& indexes) {
  indexes.erase(
      std::remove_if(indexes.begin(), indexes.end(),
                     [](const std::unique_ptr<Index>& index) { return index->owner.expired(); }),
      indexes.end());
}

}  // namespace

std::vector<DomNode> ItemsWithGuid(const std::shared_ptr<DomDocument>& document, DomNode itemList,
                                   const std::string& guid) {
  const std::lock_guard<std::mutex> lock(mutex);
  std::vector<std::unique_ptr<Index>>& indexes = Indexes();
  DropExpired(indexes);
  Index* found = nullptr;
  for (const std::unique_ptr<Index>& index : indexes) {
    if (index->document == document.get() && index->itemList == itemList) found = index.get();
  }
  if (found == nullptr) {
    auto made = std::make_unique<Index>();
    made->owner = document;
    made->document = document.get();
    made->itemList = itemList;
    std::string scratch;
    std::size_t hash = 0;
    for (DomNode item = FirstChildElement(itemList, "item"); item;
         item = NextSiblingElement(item, "item")) {
      if (GuidHashOf(item, &scratch, &hash)) made->items[hash].push_back(item);
    }
    found = made.get();
    indexes.push_back(std::move(made));
  }
  std::string scratch;
  const auto entry = found->items.find(FoldedHash(guid, &scratch));
  return entry == found->items.end() ? std::vector<DomNode>() : entry->second;
}

void DropGuidIndex(const DomDocument* document) {
  const std::lock_guard<std::mutex> lock(mutex);
  std::vector<std::unique_ptr<Index>>& indexes = Indexes();
  indexes.erase(std::remove_if(indexes.begin(), indexes.end(),
                               [document](const std::unique_ptr<Index>& index) {
                                 return index->document == document || index->owner.expired();
                               }),
                indexes.end());
}

}  // namespace documents
}  // namespace Foldwise
