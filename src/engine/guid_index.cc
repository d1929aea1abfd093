#include "engine/guid_index.h"

#include <algorithm>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace Foldwise {

void GuidIndex::Add(DomNode item, std::string_view guid) {
  if (guid.empty()) return;
  const auto [at, added] = items_.try_emplace(Hash(guid), Filed{item, {}});
  if (added) return;
  Filed& filed = at->second;
  // An item whose guid elements repeat one guid (or hash alike) is a single candidate.
  const DomNode last = filed.more.empty() ? filed.first : filed.more.back();
  if (last != item) filed.more.push_back(item);
}

void GuidIndex::Remove(DomNode item, std::string_view guid) {
  const auto found = items_.find(Hash(guid));
  if (found == items_.end()) return;
  Filed& filed = found->second;
  filed.more.erase(std::remove(filed.more.begin(), filed.more.end(), item), filed.more.end());
  if (filed.first != item) return;
  if (filed.more.empty()) {
    items_.erase(found);
    return;
  }
  filed.first = filed.more.front();
  filed.more.erase(filed.more.begin());
}

DomNodeList GuidIndex::Find(std::string_view guid) const {
  DomNodeList candidates;
  const auto found = items_.find(Hash(guid));
  if (found == items_.end()) return candidates;
  candidates.reserve(1 + found->second.more.size());
  candidates.push_back(found->second.first);
  candidates.insert(candidates.end(), found->second.more.begin(), found->second.more.end());
  return candidates;
}

// A folded guid is hashed from a copy on the stack: guids are short, and an index is built over
// every item of a file.
std::size_t GuidIndex::Hash(std::string_view guid) const {
  if (case_ == GuidCase::kExact) return std::hash<std::string_view>()(guid);
  char buffer[64];
  std::string heap;
  char* folded = buffer;
  if (guid.size() > sizeof(buffer)) {
    heap.resize(guid.size());
    folded = heap.data();
  }
  for (std::size_t i = 0; i < guid.size(); ++i) {
    const char c = guid[i];
    folded[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return std::hash<std::string_view>()(std::string_view(folded, guid.size()));
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
  const auto find = [&]() -> const KeptIndex* {
    for (const KeptIndex& entry : Kept()) {
      if (entry.thread == thread && entry.address == document.get() && entry.scope == scope &&
          !entry.document.expired()) {
        return &entry;
      }
    }
    return nullptr;
  };
  {
    const std::lock_guard<std::mutex> lock(keptMutex);
    if (const KeptIndex* entry = find()) return entry->index.get();
  }
  if (build == nullptr) return nullptr;
  // Built without the lock: a walk over a large file must not hold up the other threads'
  // lookups. Only the operations on |document| build its index, and those do not run at once.
  std::unique_ptr<GuidIndex> built = build(*document, scope);
  const std::lock_guard<std::mutex> lock(keptMutex);
  if (const KeptIndex* entry = find()) return entry->index.get();
  EraseLocked([](const KeptIndex&) { return false; });
  Kept().push_back({thread, document, document.get(), scope, std::move(built)});
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
