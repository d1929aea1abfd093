#include "engine/guid_index.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace Foldwise {

void GuidIndex::Add(DomNode item, std::string_view guid) {
  if (guid.empty()) return;
  DomNodeList& filed = items_[Hash(guid)];
  // An item whose guid elements repeat one guid (or hash alike) is a single candidate.
  if (filed.empty() || filed.back() != item) filed.push_back(item);
}

void GuidIndex::Remove(DomNode item, std::string_view guid) {
  const auto found = items_.find(Hash(guid));
  if (found == items_.end()) return;
  DomNodeList& filed = found->second;
  filed.erase(std::remove(filed.begin(), filed.end(), item), filed.end());
  if (filed.empty()) items_.erase(found);
}

const DomNodeList& GuidIndex::Find(std::string_view guid) const {
  static const DomNodeList none;
  const auto found = items_.find(Hash(guid));
  return found == items_.end() ? none : found->second;
}

// FNV-1a over the guid as it compares: folding each letter on the way needs no copy of the text,
// and a guid is short enough that a byte at a time costs nothing next to the walk it saves.
std::size_t GuidIndex::Hash(std::string_view guid) const {
  std::uint64_t hash = 14695981039346656037ull;
  const bool fold = case_ == GuidCase::kIgnoreAsciiCase;
  for (char c : guid) {
    if (fold && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  return static_cast<std::size_t>(hash);
}

namespace {

struct KeptIndex {
  // The thread that owns it, or no thread when the document's holder does.
  std::thread::id thread;
  // The document it describes: an index outlives no document, and one made at the same address
  // after the first was freed is told apart by the expired reference.
  std::weak_ptr<DomDocument> document;
  const DomDocument* address;
  DomNode scope;
  std::unique_ptr<GuidIndex> index;  // null: the items cannot be indexed
};

// The entries live in one process-wide list under a lock rather than in a thread_local list:
// mingw-w64 runs the destructors of thread_local objects after it has freed their storage. An
// entry whose document is gone is never used again, whoever made it; an entry of a live document
// is only removed by a thread that may use it, so an index in use stays where it is. Few
// documents are indexed at once (those of one bracket), so a short list will do.
std::mutex keptMutex;
std::vector<KeptIndex>& Kept() {
  static std::vector<KeptIndex> kept;
  return kept;
}

// Whether |entry| is one the calling thread |self| may use.
bool Usable(const KeptIndex& entry, std::thread::id self) {
  return entry.thread == self || entry.thread == std::thread::id();
}

template <typename Drop>
void EraseLocked(Drop drop) {
  std::vector<KeptIndex>& kept = Kept();
  kept.erase(std::remove_if(
                 kept.begin(), kept.end(),
                 [&](const KeptIndex& entry) { return entry.document.expired() || drop(entry); }),
             kept.end());
}

}  // namespace

GuidIndex* GuidIndexOf(const std::shared_ptr<DomDocument>& document, DomNode scope,
                       IndexOwner owner, GuidIndexBuilder build) {
  if (!document) return nullptr;
  const std::thread::id thread =
      owner == IndexOwner::kThread ? std::this_thread::get_id() : std::thread::id();
  const std::lock_guard<std::mutex> lock(keptMutex);
  for (const KeptIndex& entry : Kept()) {
    if (entry.thread == thread && entry.address == document.get() && entry.scope == scope &&
        !entry.document.expired()) {
      return entry.index.get();
    }
  }
  if (build == nullptr) return nullptr;
  EraseLocked([](const KeptIndex&) { return false; });
  Kept().push_back({thread, document, document.get(), scope, build(*document, scope)});
  return Kept().back().index.get();
}

void DropGuidIndexes(const DomDocument* document) {
  const std::thread::id self = std::this_thread::get_id();
  const std::lock_guard<std::mutex> lock(keptMutex);
  EraseLocked(
      [&](const KeptIndex& entry) { return entry.address == document && Usable(entry, self); });
}

void DropThreadGuidIndexes() {
  const std::thread::id self = std::this_thread::get_id();
  const std::lock_guard<std::mutex> lock(keptMutex);
  EraseLocked([&](const KeptIndex& entry) { return entry.thread == self; });
}

}  // namespace Foldwise
