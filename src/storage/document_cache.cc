// The process-wide document cache behind CXmlDocument's bracket.
#include "storage/document_cache.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <shared_mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "dom/dom.h"
#include "foldwise/env.h"
#include "foldwise/errors.h"
#include "foldwise/xml_document.h"
#include "platform/file_hold.h"
#include "platform/pooled_memory.h"
#include "storage/xml_file.h"

namespace Foldwise {
namespace {

// All state in one place. A bracket belongs to the thread that opened it: that thread holds
// |gate| exclusively from the outermost ActiveCacheDOMDocument to the matching
// DeactiveCacheDOMDocument, and only it reads or changes the maps. Every other thread's folder
// operation takes |gate| shared (CacheTurn), so it waits for the bracket to close and never sees
// the cached documents.
struct CacheState {
  std::shared_timed_mutex gate;
  std::atomic<std::thread::id> owner{};
  int depth = 0;  // brackets the owner has opened and not yet closed
  // Whether the owner's opens and saves go through the cache; an inner bracket's close ends the
  // caching before the outermost close gives the gate back.
  std::atomic<int> cacheActive{0};
  std::atomic<int> discardOnFlush{0};
  // Keyed by the path text exactly as passed to OpenDocument: two spellings of one file make
  // two entries, and the one flushed last decides what is on disk.
  std::unordered_map<std::string, std::shared_ptr<DomDocument>> cachedDocuments;
  // The files of the bracket, locked from their first open until the flush has written them.
  std::unordered_map<std::string, std::unique_ptr<platform::FileHold>> heldFiles;
  // The cached documents an operation saved during the bracket. Only these are written by the
  // flush: a file the bracket merely read is left as it is instead of being rewritten unchanged.
  // Kept by document, not by path text, so a save under another spelling still counts.
  std::unordered_set<const DomDocument*> changedDocuments;
  // The files found missing during the bracket (HasContentInBracket).
  std::unordered_set<std::string> missingFiles;
};

CacheState& State() {
  static CacheState state;
  return state;
}

bool OwnsBracket() { return State().owner.load() == std::this_thread::get_id(); }

// Turns this thread has open: only the outermost takes the gate, so a nested one never waits
// behind a bracket queued after the first.
thread_local int turnsHeld = 0;

}  // namespace

void CXmlDocument::InitXMLDocument() {
  if (OwnsBracket()) State().cacheActive = 0;
}

void CXmlDocument::UninitXMLDocument() {
  // The host is done with the library: the text buffers kept for reuse go back to the system.
  platform::ReleasePooledBuffers();
}

void CXmlDocument::ActiveCacheDOMDocument() {
  CacheState& state = State();
  if (!OwnsBracket()) {
    state.gate.lock();
    state.owner = std::this_thread::get_id();
  }
  ++state.depth;
  state.cacheActive = 1;
  EnterComApartment();
}

void CXmlDocument::DeactiveCacheDOMDocument(int discard) {
  CacheState& state = State();
  // Only the thread that opened a bracket closes it.
  if (!OwnsBracket()) return;
  state.discardOnFlush = discard;
  // Take the entries out first so the flush writes straight to disk and a nested open during it
  // cannot see a half-emptied map.
  std::unordered_map<std::string, std::shared_ptr<DomDocument>> entries;
  entries.swap(state.cachedDocuments);
  std::unordered_map<std::string, std::unique_ptr<platform::FileHold>> held;
  held.swap(state.heldFiles);
  std::unordered_set<const DomDocument*> changed;
  changed.swap(state.changedDocuments);
  state.missingFiles.clear();
  state.cacheActive = 0;
  for (auto& entry : entries) {
    if (changed.count(entry.second.get()) != 0) FlushCachedDocument(entry.second, entry.first);
  }
  entries.clear();
  held.clear();
  state.discardOnFlush = 0;
  LeaveComApartment();
  if (--state.depth == 0) {
    state.owner = std::thread::id();
    state.gate.unlock();
  }
}

bool CXmlDocument::IsCacheActive() { return OwnsBracket() && State().cacheActive.load() != 0; }

bool CXmlDocument::IsDiscardingFlush() {
  return OwnsBracket() && State().discardOnFlush.load() != 0;
}

void FlushCachedDocument(const std::shared_ptr<DomDocument>& document, const std::string& path) {
  // A plain XmlDocumentFile applies the generic emptiness rule: the class that opened the file
  // is not known here, and for every cached file kind the generic rule agrees with its own.
  XmlDocumentFile flusher;
  flusher.document = document;
  (void)flusher.FlushDocument(path);
}

int TakeCachedDocument(XmlDocumentFile& object, const std::string& path) {
  if (!CXmlDocument::IsCacheActive()) return 0;
  CacheState& state = State();
  const auto found = state.cachedDocuments.find(path);
  if (found == state.cachedDocuments.end()) return 0;
  object.document = found->second;
  return 1;
}

void RegisterCachedDocument(XmlDocumentFile& object, const std::string& path) {
  if (!CXmlDocument::IsCacheActive() || !object.document) return;
  State().cachedDocuments[path] = object.document;
}

int HasContentInBracket(const std::string& path) {
  if (!CXmlDocument::IsCacheActive()) return HasContent(path);
  CacheState& state = State();
  if (state.missingFiles.count(path) != 0) return 0;
  const int content = HasContent(path);
  if (content == 0) state.missingFiles.insert(path);
  return content;
}

int HoldCachedFile(const std::string& path) {
  if (!CXmlDocument::IsCacheActive()) return 1;
  CacheState& state = State();
  auto& hold = state.heldFiles[path];
  if (!hold) hold = std::make_unique<platform::FileHold>(Env::Current(), path);
  if (hold->error() == 0) return 1;
  state.heldFiles.erase(path);
  return 0;
}

CacheTurn::CacheTurn() {
  if (!OwnsBracket() && turnsHeld == 0) {
    const int timeout = std::max(0, Env::Current()->LockTimeoutMs());
    shared_ = State().gate.try_lock_shared_for(std::chrono::milliseconds(timeout));
    if (!shared_) return;
  }
  ok_ = true;
  ++turnsHeld;
}

CacheTurn::~CacheTurn() {
  if (!ok_) return;
  --turnsHeld;
  if (shared_) State().gate.unlock_shared();
}

void MarkCachedDocumentChanged(const DomDocument* document) {
  CacheState& state = State();
  if (state.cacheActive && document != nullptr) state.changedDocuments.insert(document);
}

std::size_t CXmlDocument::CachedDocumentCount() {
  return OwnsBracket() ? State().cachedDocuments.size() : 0;
}

}  // namespace Foldwise
