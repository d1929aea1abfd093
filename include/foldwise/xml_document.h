// The process-wide document cache and its bracket.
//
// Between ActiveCacheDOMDocument and DeactiveCacheDOMDocument every folder file opened through
// XmlDocumentFile::OpenDocument is parsed once, shared by every object that opens the same path
// text, and written back once when the bracket ends. The bracket holds a re-entrant lock, so
// brackets of different threads run one after another.
//
// Thread safety: a bracket belongs to the thread that opened it. The bracket calls may come from
// any thread; a thread that calls ActiveCacheDOMDocument waits for the bracket of another thread
// to close. Only the opening thread's operations use the cache. A folder operation (voice, sent
// items, typist inbox, folder attributes) of any other thread waits until the bracket closes,
// at most the Env's lock timeout, and then works on the files directly; when the wait times
// out it fails with its failure result and changes nothing. Outside brackets those operations
// may run concurrently on different folder objects.
#ifndef FOLDWISE_XML_DOCUMENT_H_
#define FOLDWISE_XML_DOCUMENT_H_

#include <cstddef>

#include "foldwise/export.h"

namespace Foldwise {

class FOLDWISE_EXPORT CXmlDocument {
 public:
  CXmlDocument() = delete;

  // Called once by the host before the first bracket: marks the cache inactive.
  static void InitXMLDocument();
  // Called once by the host after the last bracket: frees the text buffers the library keeps
  // for reuse between operations (at most 4 buffers, 64 MiB together).
  static void UninitXMLDocument();
  // Opens a bracket: takes the cache lock (blocking while another thread holds it) and makes
  // every open share cached documents and every save wait for the flush.
  static void ActiveCacheDOMDocument();
  // Closes the bracket of the calling thread (a call from another thread does nothing): flushes
  // every cached document an operation changed (discard 0 writes changes, non-zero drops them;
  // emptied files are deleted either way; files only read are left untouched), empties the
  // cache, releases the lock.
  static void DeactiveCacheDOMDocument(int discard);

  // Whether the calling thread has a bracket open, so its operations use the cache.
  static bool IsCacheActive();
  // The discard argument of the calling thread's flush in progress.
  static bool IsDiscardingFlush();

  // Number of documents held by the calling thread's bracket (for tests and diagnostics).
  static std::size_t CachedDocumentCount();
};

}  // namespace Foldwise

#endif  // FOLDWISE_XML_DOCUMENT_H_
