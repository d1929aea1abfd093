// Opening, saving and flushing a folder file, and the generic rule for deleting an emptied one.
#include <cerrno>

#include "dom/dom_scan.h"
#include "foldwise/env.h"
#include "foldwise/errors.h"
#include "foldwise/xml_document.h"
#include "storage/document_cache.h"
#include "storage/xml_file.h"

namespace Foldwise {

XmlDocumentFile::XmlDocumentFile() = default;
XmlDocumentFile::~XmlDocumentFile() = default;

int XmlDocumentFile::MakeTemplate() { return 1; }

int XmlDocumentFile::CreateDocument() {
  document.reset();
  document = DomDocument::Create();
  return MakeTemplate();
}

int XmlDocumentFile::OpenDocument(const std::string& path) { return Open(path, false); }

int XmlDocumentFile::OpenDocumentToRead(const std::string& path) { return Open(path, true); }

int XmlDocumentFile::Open(const std::string& path, bool toRead) {
  if (TakeCachedDocument(*this, path)) return 1;
  // A reader looks once: the status it took decides between loading and nothing to read.
  const int content = toRead ? HasContentInBracket(path) : -1;
  if (content == 0) {
    document.reset();
    return 1;
  }
  if (!HoldCachedFile(path)) return 0;
  try {
    // Always a document of our own: one still held may be shared with a copy of this object,
    // and loading or templating into it would change the other's tree too.
    document = DomDocument::Create();
    if (content != 1 && !HasContent(path)) {
      if (!MakeTemplate()) {
        document.reset();
        return 0;
      }
    } else if (!document->Load(path)) {
      // Not well-formed, or unreadable: reported, never repaired.
      document.reset();
      return 0;
    }
    RegisterCachedDocument(*this, path);
    return 1;
  } catch (const ComError&) {
    document.reset();
    return 0;
  }
}

int XmlDocumentFile::ReplaceDocument(const std::string& path) {
  if (!HoldCachedFile(path)) return 0;
  if (!CreateDocument()) {
    document.reset();
    return 0;
  }
  RegisterCachedDocument(*this, path);
  return 1;
}

int XmlDocumentFile::WriteOrDelete(const std::string& path, bool write) {
  bool save = write;
  if (OnAutoDelete()) {
    const int error = RemoveFileDurably(Env::Current(), path);
    // An emptied folder is a missing file. A directory that refuses the deletion still lets the
    // emptied content be written over the file, so the change holds all the same; any other
    // failure leaves entries the host would be told are gone, so it is reported.
    if (error == EACCES || error == EPERM) {
      save = write;
    } else if (error != 0 && error != ENOENT) {
      return 0;
    } else {
      save = false;
    }
  }
  if (save) {
    try {
      if (!document) throw ComError(kErrorPointer, "no document");
      document->Save(path);
    } catch (const ComError&) {
      return 0;
    }
  }
  (void)SetFileAccess(path);
  return 1;
}

int XmlDocumentFile::SaveDocument(const std::string& path) {
  if (CXmlDocument::IsCacheActive()) {
    MarkCachedDocumentChanged(document.get());
    return 1;
  }
  return WriteOrDelete(path, /*write=*/true);
}

int XmlDocumentFile::FlushDocument(const std::string& path) {
  return WriteOrDelete(path, /*write=*/!CXmlDocument::IsDiscardingFlush());
}

void XmlDocumentFile::CloseDocument() { document.reset(); }

int XmlDocumentFile::OnAutoDelete() {
  try {
    if (!document) return 0;
    // Walked directly: this runs at every save and every flush.
    const DomNode root = document->DocumentElement();
    const DomNode attribute = FirstChildElement(root, "attribute");
    if (attribute) return attribute.HasChildNodes() ? 0 : 1;
    if (!FirstChildElement(root, "item_list")) return 1;
    for (DomNode top = FirstChildElement(document->AsNode(), "root"); top;
         top = NextSiblingElement(top, "root")) {
      for (DomNode list = FirstChildElement(top, "item_list"); list;
           list = NextSiblingElement(list, "item_list")) {
        if (FirstChildElement(list, "item")) return 0;
      }
    }
    return 1;
  } catch (const ComError&) {
    return 0;
  }
}

DomNode XmlDocumentFile::AppendSkeleton(const std::string& identifier) {
  if (!document) throw ComError(kErrorPointer, "no document");
  DomNode doc = document->AsNode();
  doc.AppendChild(document->CreateProcessingInstruction("xml", "version='1.0'"));
  doc.AppendChild(document->CreateComment(identifier));
  return doc.AppendChild(document->CreateElement("root"));
}

}  // namespace Foldwise
