// The file objects under every folder: the owned DOM document, loading, saving, deletion of
// emptied files, indentation and the file checks made before a file is touched.
//
// Everything the old public xml_file.h offered is here: XmlFileBase (public, for the documents
// and outbox folders that derive from it), the DOM wrapper and the path text helpers
// (TrimTrailingSeparators among them) come along.
#ifndef FOLDWISE_STORAGE_XML_FILE_H_
#define FOLDWISE_STORAGE_XML_FILE_H_

#include <memory>
#include <string>

#include "base/path_text.h"
#include "dom/dom.h"
#include "foldwise/xml_file_base.h"

namespace Foldwise {

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
  // As OpenDocument, for an operation that only reads: a missing or empty file that no bracket
  // caches holds nothing to read, so |document| is left null (1) and no skeleton is made, nor,
  // inside a bracket, the file held.
  int OpenDocumentToRead(const std::string& path);
  // Replaces |document| by a fresh skeleton (CreateDocument) that stands for the file at |path|:
  // inside a cache bracket the file is held and the new document takes the cached one's place,
  // so the flush writes it. 0 when the file cannot be held or the skeleton cannot be made.
  int ReplaceDocument(const std::string& path);
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
  // 1 when MergeNode(target, source) would find the shapes agreeing; changes nothing.
  int MergeFits(DomNode target, DomNode source);

  const std::shared_ptr<DomDocument>& GetDocument() const { return document; }

 protected:
  // Appends the declaration, the |identifier| comment and `root` to an empty |document| and
  // returns `root`. Raises ComError.
  DomNode AppendSkeleton(const std::string& identifier);

  std::shared_ptr<DomDocument> document;

 private:
  // The document cache hands cached documents in and out.
  friend int TakeCachedDocument(XmlDocumentFile& object, const std::string& path);
  friend void RegisterCachedDocument(XmlDocumentFile& object, const std::string& path);
  friend void FlushCachedDocument(const std::shared_ptr<DomDocument>& document,
                                  const std::string& path);
  int WriteOrDelete(const std::string& path, bool write);
  // OpenDocument; with |toRead|, OpenDocumentToRead.
  int Open(const std::string& path, bool toRead);
};

// The free functions below serve the documents and outbox folders, which keep their own DOM
// documents instead of going through XmlDocumentFile; they have no other user yet.
//
// Appends "\n" + |depth| tabs (depth 0..5) to |parent|; other depths raise ComError.
void AppendIndent(DomDocument& doc, DomNode parent, int depth);
// The child |name| of |parent|, created and followed by AppendIndent(depth) when missing.
DomNode GetOrCreateChildElement(DomDocument& doc, DomNode parent, const std::string& name,
                                int depth);
// 1 when |path| can be opened exclusively for reading and writing, twice; creates it empty when
// missing. 0 when another process holds it or it cannot be created.
int IsFileFree(const std::string& path);
// 0 for a missing or empty file (used by every folder); 1 for a file with content or one
// whose status cannot be read for another reason than its absence (the load that follows
// reports the real failure).
int HasContent(const std::string& path);
// Per-thread set-up of the DOM, used by the documents and the outbox folders around each of
// their operations (and by the cache bracket). The DOM needs none, so these keep their places in
// those operations and honour the cache-active rule without doing more.
void EnterComApartment();
void LeaveComApartment();

}  // namespace Foldwise

#endif  // FOLDWISE_STORAGE_XML_FILE_H_
