// The items of a cached document by guid, so that the keyed operations of a cache bracket find
// their item without walking the whole file each time.
#ifndef FOLDWISE_ENGINE_ITEM_INDEX_H_
#define FOLDWISE_ENGINE_ITEM_INDEX_H_

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "dom/dom.h"

namespace Foldwise {

// Built by one walk over a document's items and kept current by the operations that change the
// document (Added, Removing); anything else that may change an item's guid drops it (DropIndex).
// The keys point into the guid texts of the document itself, so the index copies no text but the
// guids that several items share.
class ItemIndex {
 public:
  explicit ItemIndex(const DomDocument& document);

  // Whether every guid could be indexed: one whose text is spread over several nodes could be
  // matched by a key the index does not know, so such a document is walked instead.
  bool usable() const { return usable_; }
  // The only item whose guid is |guid|, or null when none has it; false when several have it,
  // and only a walk can say which of them match in document order.
  bool Find(std::string_view guid, DomNode* item) const;
  // |item| was added to the document.
  void Added(DomNode item);
  // |item| is about to be removed from the document.
  void Removing(DomNode item);

 private:
  void Add(DomNode item);

  bool usable_ = true;
  std::unordered_map<std::string_view, DomNode> unique_;
  std::unordered_set<std::string> shared_;
};

// The index of |document| when a cache bracket of this thread holds it: made on first use (when
// |build| is set) and kept for the rest of the bracket. Null outside a bracket, for a document it
// cannot index, and when there is none yet and |build| is not set.
ItemIndex* BracketIndex(const std::shared_ptr<DomDocument>& document, bool build);
// Forgets the index of |document|; the next BracketIndex builds it afresh.
void DropIndex(const DomDocument* document);

// Drops the index of a document on every way out of a change unless Keep() was called: a change
// that failed halfway may have left the document in a state the index no longer describes.
class IndexKeeper {
 public:
  explicit IndexKeeper(const DomDocument* document) : document_(document) {}
  ~IndexKeeper() {
    if (!kept_) DropIndex(document_);
  }
  IndexKeeper(const IndexKeeper&) = delete;
  IndexKeeper& operator=(const IndexKeeper&) = delete;

  void Keep() { kept_ = true; }

 private:
  const DomDocument* document_;
  bool kept_ = false;
};

}  // namespace Foldwise

#endif  // FOLDWISE_ENGINE_ITEM_INDEX_H_
