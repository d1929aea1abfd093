// The file objects' side of the document cache (the host's side is foldwise/xml_document.h).
#ifndef FOLDWISE_STORAGE_DOCUMENT_CACHE_H_
#define FOLDWISE_STORAGE_DOCUMENT_CACHE_H_

#include <memory>
#include <string>

namespace Foldwise {

class DomDocument;
class XmlDocumentFile;

// When a bracket is open and |path| is cached, gives |object| the cached document; 1 then.
int TakeCachedDocument(XmlDocumentFile& object, const std::string& path);
// When a bracket is open, caches |object|'s document under |path|.
void RegisterCachedDocument(XmlDocumentFile& object, const std::string& path);
// HasContent of |path| (storage/xml_file.h). Inside a bracket a file found missing is remembered
// as missing until the bracket closes, so the folders' check of their second file costs one look
// per bracket rather than one per operation: the bracket's own operations create a file through
// the cache (and find it there first), and a file another process makes meanwhile waits for the
// next bracket, as changes to the files the bracket holds do.
int HasContentInBracket(const std::string& path);
// When a bracket is open, locks |path| exclusively until the bracket has flushed it, so that no
// other writer changes the file between its load and the flush. 0 when the lock cannot be had;
// 1 otherwise.
int HoldCachedFile(const std::string& path);
// An operation's turn at the folder files that the cache serves. On the thread that opened the
// bracket it is free. On any other thread it waits until no bracket is open, at most the Env's
// lock timeout, and keeps a bracket from opening until it ends: the operation then works on the
// files themselves and can neither see nor lose its changes to another thread's cache. ok() is
// false when the wait timed out; the operation then fails without touching anything.
class CacheTurn {
 public:
  CacheTurn();
  ~CacheTurn();
  CacheTurn(const CacheTurn&) = delete;
  CacheTurn& operator=(const CacheTurn&) = delete;

  bool ok() const { return ok_; }

 private:
  bool shared_ = false;
  bool ok_ = false;
};

// When a bracket is open, records that an operation changed |document|, so the flush writes it.
void MarkCachedDocumentChanged(const DomDocument* document);
// Writes |document| to |path| (or deletes the emptied file) as the bracket's flush does.
void FlushCachedDocument(const std::shared_ptr<DomDocument>& document, const std::string& path);

}  // namespace Foldwise

#endif  // FOLDWISE_STORAGE_DOCUMENT_CACHE_H_
