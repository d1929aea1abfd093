// The base objects of every folder: the data directory, the owned DOM document, loading, saving,
// deletion of emptied files, indentation and the file checks made before a file is touched.
#ifndef FOLDWISE_XML_FILE_H_
#define FOLDWISE_XML_FILE_H_

#include <cstdint>
#include <memory>
#include <string>

#include "foldwise/dom.h"

namespace Foldwise {

// The operating-system version record every folder object keeps. Only platformId is consulted:
// 2 selects the access-rights step of SetFileAccess.
struct OsVersionInfo {
  std::uint32_t size = 148;
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;
  std::string servicePack;
};

// Root of every folder class: holds the data directory.
class XmlFileBase {
 public:
  XmlFileBase();
  virtual ~XmlFileBase();
  XmlFileBase(const XmlFileBase&) = default;
  XmlFileBase& operator=(const XmlFileBase&) = default;

  // Stores |dir| with every trailing separator removed.
  void SetDirectory(const std::string& dir);
  const std::string& GetDirectoryText() const { return directory; }

  // Opens |path| to every user (mode 0666) and makes it writable. 1 when the file can then be
  // opened for reading and writing, 0 when it is missing or a step fails.
  int SetFileAccess(const std::string& path);

 protected:
  std::string directory;
  OsVersionInfo osVersion;
};

// A folder object that owns a DOM document and loads and saves it through the document cache.
// Derived classes give each file kind its skeleton (MakeTemplate) and its rule for deleting
// itself instead of saving (OnAutoDelete). Copies share the document, as references do.
class XmlDocumentFile : public XmlFileBase {
 public:
  XmlDocumentFile();
  ~XmlDocumentFile() override;
  XmlDocumentFile(const XmlDocumentFile&) = default;
  XmlDocumentFile& operator=(const XmlDocumentFile&) = default;

  // Makes |document| hold the file's content: the cached document inside a cache bracket, else
  // the parsed file, else (missing or empty file) a fresh skeleton. 0 when the file does not
  // parse or the skeleton cannot be made; the file on disk is never touched here.
  int OpenDocument(const std::string& path);
  // Writes |document| to |path|, or deletes the file when OnAutoDelete says so; inside a cache
  // bracket does nothing and returns 1 (the bracket's flush writes). 0 when the write fails.
  int SaveDocument(const std::string& path);
  // The save made by the cache flush: never deferred, and skips the write (not a deletion) when
  // the bracket was closed with discard.
  int FlushDocument(const std::string& path);
  // Drops this object's reference to its document.
  void CloseDocument();

  // Writes the skeleton of a new file into |document|; the default writes nothing. Non-zero on
  // success.
  virtual int MakeTemplate();
  // Replaces |document| by a fresh empty document and returns MakeTemplate().
  virtual int CreateDocument();
  // Non-zero when the file is to be deleted instead of saved; the default is the generic rule
  // (an `attribute` without children, no `item_list`, or no `item` in it).
  virtual int OnAutoDelete();

  // Indentation text "\r\n" + |depth| tabs for depth 0..9 on |document|; null otherwise.
  DomNode MakeIndentText(int depth);
  // Appends |child| under |parent| on a line of its own at |depth| and returns it.
  DomNode AppendChildIndented(DomNode parent, DomNode child, int depth);
  // Creates element |name| and appends it indented; null on failure.
  DomNode AddChildElement(DomNode parent, const std::string& name, int depth);
  int InsertBefore(DomNode ref, DomNode newNode);
  int InsertAfter(DomNode ref, DomNode newNode);
  // First node selected by |xpath| relative to |from|, or null (also on a DOM error).
  DomNode FindChild(DomNode from, const std::string& xpath);
  DomNode FindOrCreateChild(DomNode parent, const std::string& name);
  // Steps from |node| up to the document element (which has depth 0). Raises ComError.
  int NodeDepth(DomNode node);
  bool IsElementNode(DomNode node);
  // With |xpath|: whether it selects a node under |parent|; without: whether |parent| has any
  // element child.
  bool HasElementChild(DomNode parent, const char* xpath = nullptr);
  int RemoveNodeAndEmptyAncestors(DomNode node);
  int RemoveSelected(DomNode parent, const std::string& xpath);
  // Folds a freshly built element into a stored one: non-empty leaves replace, empty leaves
  // delete, missing children move in. 0 when the shapes disagree.
  int MergeNode(DomNode target, DomNode source);

  const std::shared_ptr<DomDocument>& GetDocument() const { return document; }

 protected:
  // Appends the declaration, the |identifier| comment and `root` to an empty |document| and
  // returns `root`. Raises ComError.
  DomNode AppendSkeleton(const std::string& identifier);

  std::shared_ptr<DomDocument> document;

 private:
  friend class CXmlDocument;  // hands cached documents in and out
  int WriteOrDelete(const std::string& path, bool write);
};

// Appends "\n" + |depth| tabs (depth 0..5) to |parent|; other depths raise ComError.
void AppendIndent(DomDocument& doc, DomNode parent, int depth);
// The child |name| of |parent|, created and followed by AppendIndent(depth) when missing.
DomNode GetOrCreateChildElement(DomDocument& doc, DomNode parent, const std::string& name,
                                int depth);
// 1 when |path| can be opened exclusively for reading and writing, twice; creates it empty when
// missing. 0 when another process holds it or it cannot be created.
int IsFileFree(const std::string& path);
// 0 for a missing or empty file; 1 for a file with content or one whose status cannot be read
// for another reason than its absence (the load that follows reports the real failure).
int HasContent(const std::string& path);
// Removes every trailing separator ('\\' or '/'), except the one of a root ("/" stays "/").
void TrimTrailingSeparators(std::string& path);
// Per-thread set-up of the DOM. The DOM needs none, so these keep their places in the
// operations and honour the cache-active rule without doing more.
void EnterComApartment();
void LeaveComApartment();

}  // namespace Foldwise

#endif  // FOLDWISE_XML_FILE_H_
