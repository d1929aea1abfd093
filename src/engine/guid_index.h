// The items of a document by guid, so that the keyed operations of a bracket (the host's cache
// bracket, a documents folder's OpenXML ... CloseXML) find their item without walking the whole
// file each time.
#ifndef FOLDWISE_ENGINE_GUID_INDEX_H_
#define FOLDWISE_ENGINE_GUID_INDEX_H_

#include <cstddef>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "dom/dom.h"

namespace Foldwise {

// How the guids of a folder compare with a key's.
enum class GuidCase {
  kExact,            // letter case counts
  kIgnoreAsciiCase,  // ASCII letters compare without their case, as SameIgnoringCase does
};

// Items filed by the hash of their guid alone: the caller's match checks every candidate, so a
// collision costs a comparison, never a wrong answer, and the index holds no copy of any text.
// Which guid elements an item is filed under, and how their text is read, is the caller's: it
// files them as its match reads them.
class GuidIndex {
 public:
  explicit GuidIndex(GuidCase guidCase) : case_(guidCase) {}

  // Files |item| under |guid|, after the items filed before it. An empty guid is not filed: an
  // empty key field compares nothing, so nobody looks one up.
  void Add(DomNode item, std::string_view guid);
  // Takes |item| out of what is filed under |guid|.
  void Remove(DomNode item, std::string_view guid);
  // Every item filed under a guid that compares equal to |guid|, in the order they were filed,
  // and perhaps a few that only share its hash.
  DomNodeList Find(std::string_view guid) const;

 private:
  // Most guids name one item: it is kept in place, and only the items after it need a list.
  struct Filed {
    DomNode first;
    DomNodeList more;
  };

  std::size_t Hash(std::string_view guid) const;

  GuidCase case_;
  std::unordered_map<std::size_t, Filed> items_;
};

// Who may use a kept index, and so who sees it and who drops it.
enum class IndexOwner {
  // The thread that made it: a cache bracket belongs to one thread, as do the documents it holds.
  kThread,
  // Whichever thread holds the document: a folder object may be used from one thread, then
  // another.
  kDocument,
};

// Makes the index of the items under |scope| in |document|; null when they cannot be indexed (the
// caller then walks them).
using GuidIndexBuilder = std::unique_ptr<GuidIndex> (*)(const DomDocument& document, DomNode scope);

// The index of the items under |scope| in |document| that |owner| keeps: made by |build| on first
// use (when |build| is not null) and kept until DropGuidIndexes or the document's end. Null when
// there is none, and when |build| found that the items cannot be indexed. The index is used
// without a lock: only the operations on its document use it, and those do not run at once.
GuidIndex* GuidIndexOf(const std::shared_ptr<DomDocument>& document, DomNode scope,
                       IndexOwner owner, GuidIndexBuilder build);
// Forgets every index of |document| that this thread may use; the next GuidIndexOf builds afresh.
void DropGuidIndexes(const DomDocument* document);
// Forgets every index this thread owns (IndexOwner::kThread): its bracket is over.
void DropThreadGuidIndexes();

// Drops the indexes of a document on every way out of a change unless Keep() was called: a
// change that failed halfway may have left the document in a state no index describes.
class IndexKeeper {
 public:
  explicit IndexKeeper(const DomDocument* document) : document_(document) {}
  ~IndexKeeper() {
    if (!kept_) DropGuidIndexes(document_);
  }
  IndexKeeper(const IndexKeeper&) = delete;
  IndexKeeper& operator=(const IndexKeeper&) = delete;

  void Keep() { kept_ = true; }

 private:
  const DomDocument* document_;
  bool kept_ = false;
};

}  // namespace Foldwise

#endif  // FOLDWISE_ENGINE_GUID_INDEX_H_
