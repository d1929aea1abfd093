// The one frame around every folder operation: open the document, run the work, close the
// document on every path out, and apply the family's policy for DOM failures.
//
// Two policies exist, chosen by each family's traits:
//   FailureBecomesZero   the cached item files and the attribute file: a ComError raised by the
//                        work becomes the failure result (0, or a count of 0).
//   ComErrorReachesHost  the documents and outbox folders: a ComError leaves the operation and
//                        reaches the host; only the failure results of the work itself count.
//
// Use, for a file object served by the document cache (XmlDocumentFile):
//   return WithDocument<FailureBecomesZero>(*this, path, [&] { ...; return SaveDocument(path); });
// For a family that keeps its own DOM document (documents, outbox), around the operation body:
//   ComApartmentScope apartment;   // EnterComApartment now, LeaveComApartment on every path
//   return Guard<ComErrorReachesHost>(0, [&] { ... });
// Guard alone also serves work that builds a fresh document instead of opening one.
#ifndef FOLDWISE_ENGINE_ERROR_BOUNDARY_H_
#define FOLDWISE_ENGINE_ERROR_BOUNDARY_H_

#include <string>
#include <utility>

#include "foldwise/errors.h"
#include "storage/document_closer.h"
#include "storage/xml_file.h"

namespace Foldwise {

struct FailureBecomesZero {
  static constexpr bool kCatchComError = true;
};

struct ComErrorReachesHost {
  static constexpr bool kCatchComError = false;
};

// Runs |work| and returns its result; under a catching policy a ComError gives |failure|.
template <typename Policy, typename Result, typename Work>
Result Guard(Result failure, Work&& work) {
  if constexpr (Policy::kCatchComError) {
    try {
      return std::forward<Work>(work)();
    } catch (const ComError&) {
      return failure;
    }
  } else {
    (void)failure;
    return std::forward<Work>(work)();
  }
}

// The boundary of the folders that promise never to throw (the cached folders, the folder
// attributes): whatever leaves |work|, an allocation failure in a record copy among them, gives
// |failure| instead.
template <typename Result, typename Work>
Result NeverThrows(Result failure, Work&& work) noexcept {
  try {
    return std::forward<Work>(work)();
  } catch (...) {
    return failure;
  }
}

// Opens |path| into |file| (the cached document inside a bracket), runs |work| under |Policy|
// and closes the document on every path. 0 when the file cannot be opened.
template <typename Policy, typename Work>
int WithDocument(XmlDocumentFile& file, const std::string& path, Work&& work) {
  if (!file.OpenDocument(path)) return 0;
  DocumentCloser closer(file);
  return Guard<Policy>(0, std::forward<Work>(work));
}

// WithDocument for work that only reads: |path| is opened with OpenDocumentToRead, so the work
// also runs, on a null document, for a missing or empty file.
template <typename Policy, typename Work>
int WithDocumentToRead(XmlDocumentFile& file, const std::string& path, Work&& work) {
  if (!file.OpenDocumentToRead(path)) return 0;
  DocumentCloser closer(file);
  return Guard<Policy>(0, std::forward<Work>(work));
}

// Runs |work| on a fresh document made from |file|'s template for |path| (the old content is
// never read; inside a cache bracket the new document replaces the cached one), closing it on
// every path. 0 when the template cannot be made.
template <typename Policy, typename Work>
int WithNewDocument(XmlDocumentFile& file, const std::string& path, Work&& work) {
  DocumentCloser closer(file);
  return Guard<Policy>(0, [&] { return file.ReplaceDocument(path) ? work() : 0; });
}

// The per-thread DOM bracket of one operation of the documents or outbox folders.
class ComApartmentScope {
 public:
  ComApartmentScope() { EnterComApartment(); }
  ~ComApartmentScope() { LeaveComApartment(); }
  ComApartmentScope(const ComApartmentScope&) = delete;
  ComApartmentScope& operator=(const ComApartmentScope&) = delete;
};

}  // namespace Foldwise

#endif  // FOLDWISE_ENGINE_ERROR_BOUNDARY_H_
