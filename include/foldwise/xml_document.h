// The process-wide document cache and its bracket.
//
// Between ActiveCacheDOMDocument and DeactiveCacheDOMDocument every folder file opened through
// XmlDocumentFile::OpenDocument is parsed once, shared by every object that opens the same path
// text, and written back once when the bracket ends. The bracket holds a re-entrant lock, so
// brackets of different threads run one after another.
//
// Thread safety: the bracket calls may come from any thread; a thread that calls
// ActiveCacheDOMDocument waits for the bracket of another thread to close. While a bracket is
// open, every folder operation that uses the cache (voice, sent items, typist inbox, folder
// attributes) must come from the thread that opened it. Outside brackets those operations may
// run concurrently on different folder objects.
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
  // Closes the bracket: flushes every cached document an operation changed (discard 0 writes
  // changes, non-zero drops them; emptied files are deleted either way; files only read are left
  // untouched), empties the cache, releases the lock.
  static void DeactiveCacheDOMDocument(int discard);

  // Whether a bracket is open (in any thread).
  static bool IsCacheActive();
  // The discard argument of the flush in progress.
  static bool IsDiscardingFlush();

  // Number of documents held by the cache (for tests and diagnostics).
  static std::size_t CachedDocumentCount();
};

}  // namespace Foldwise

#endif  // FOLDWISE_XML_DOCUMENT_H_
