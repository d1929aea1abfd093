// The XML DOM the folders are written against: a small document/node layer over pugixml whose
// every failing call raises ComError, as the folder code expects of its DOM.
#ifndef FOLDWISE_DOM_DOM_H_
#define FOLDWISE_DOM_DOM_H_

#include <cstddef>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace Foldwise {

// Node types, numbered as the folder files' DOM numbers them.
constexpr int kElementNode = 1;
constexpr int kTextNode = 3;
constexpr int kCDataNode = 4;
constexpr int kProcessingInstructionNode = 7;
constexpr int kCommentNode = 8;
constexpr int kDocumentNode = 9;

class DomNode;
using DomNodeList = std::vector<DomNode>;

namespace dom_internal {

// The node a pugixml handle refers to, read in place: pugixml tests and compares handles only
// through calls into the library, and the walks over a folder file's items make such a test at
// every step.
class NodeHandle : public pugi::xml_node {
 public:
  explicit NodeHandle(const pugi::xml_node& node) : pugi::xml_node(node) {}
  const void* get() const { return _root; }
};

static_assert(sizeof(pugi::xml_node) == sizeof(void*), "a pugixml handle is one node pointer");

inline bool IsNullNode(const pugi::xml_node& node) { return NodeHandle(node).get() == nullptr; }
inline bool SameNode(const pugi::xml_node& a, const pugi::xml_node& b) {
  return NodeHandle(a).get() == NodeHandle(b).get();
}

}  // namespace dom_internal

// Whether |text| can be stored in a folder file and read back exactly: well-formed UTF-8 of
// characters XML 1.0 allows (no NUL, no control character but tab, line feed and carriage
// return, no U+FFFE or U+FFFF).
bool IsXmlText(std::string_view text);

// A reference to a node of some DomDocument, or null. Cheap to copy; valid while its document
// lives and the node is in it. Every operation on a null reference raises ComError
// (kErrorPointer); every other failing operation raises ComError (kErrorDomFailure).
class DomNode {
 public:
  DomNode() = default;

  bool IsNull() const { return dom_internal::IsNullNode(node_); }
  explicit operator bool() const { return !IsNull(); }
  bool operator==(const DomNode& other) const { return dom_internal::SameNode(node_, other.node_); }
  bool operator!=(const DomNode& other) const { return !(*this == other); }

  // Element name; "#text", "#comment", "#document"; a processing instruction's target.
  std::string NodeName() const;
  int NodeType() const;
  DomNode ParentNode() const;
  DomNodeList ChildNodes() const;
  DomNode FirstChild() const;
  DomNode PreviousSibling() const;
  DomNode NextSibling() const;
  bool HasChildNodes() const;

  // Moves |child| to the end of this node's children and returns it where it now stands. A node
  // of another document is copied in and its original removed, so take the result.
  DomNode AppendChild(DomNode child);
  // As AppendChild, placing |child| before |ref|; a null |ref| appends.
  DomNode InsertBefore(DomNode child, DomNode ref);
  // Detaches |child| from this node; the node is gone afterwards.
  void RemoveChild(DomNode child);

  // The text of the node and its descendants joined, exactly as set; indentation (text nodes
  // made only of whitespace that no value put there) reads empty.
  std::string Text() const;
  // Replaces the node's children by one text node (none for an empty text). A text IsXmlText
  // refuses raises ComError (kErrorDomFailure) and leaves the node as it was.
  void SetText(std::string_view text);

  std::string GetAttribute(const char* name) const;  // empty when absent
  // Raises ComError, the node unchanged, for a value IsXmlText refuses.
  void SetAttribute(const char* name, std::string_view value);
  void RemoveAttribute(const char* name);

  // XPath selection relative to this node; a query the engine rejects raises ComError.
  DomNodeList SelectNodes(const std::string& xpath) const;
  // The first match in document order, or null.
  DomNode SelectSingleNode(const std::string& xpath) const;

  // The walks over element children are dom/dom_scan.h's FirstChildElement and
  // NextSiblingElement. Whether this is an element called |name|.
  bool IsElementNamed(std::string_view name) const;
  // Text() of the first child element called |name| (any element when |name| is empty); empty
  // when there is no such child.
  std::string ChildText(std::string_view name) const;
  // The number of child nodes of every kind.
  std::size_t ChildCount() const;
  // The node's own stored value: the characters of a text, comment or processing instruction,
  // indentation included; empty for an element or the document.
  std::string NodeValue() const;
  // The document node of the document this node belongs to.
  DomNode OwnerDocument() const;

 private:
  friend class DomDocument;
  // The direct walks of dom/dom_scan.h read and make nodes without a copy of any name or text.
  friend struct DomScanAccess;
  explicit DomNode(pugi::xml_node node) : node_(node) {}
  pugi::xml_node Checked() const;

  pugi::xml_node node_;
};

// One XML document. Shared by reference count between the folder objects and the document
// cache, as the folder files' DOM documents are.
class DomDocument {
 public:
  DomDocument();
  ~DomDocument();
  DomDocument(const DomDocument&) = delete;
  DomDocument& operator=(const DomDocument&) = delete;

  // A new empty document. Raises ComError kErrorOutOfMemory when it cannot be allocated.
  static std::shared_ptr<DomDocument> Create();

  // Replaces the content by the parsed |text| (UTF-8, optional byte-order mark), dropping text
  // nodes made only of raw whitespace (indentation); whitespace and carriage returns written as
  // character references are values and kept. False, and an empty document, when it is not
  // well-formed.
  bool LoadXml(std::string_view text);
  // Reads |path| through the Env in force and parses it as LoadXml does, in place: the document
  // keeps the file's text. False when the file cannot be read or does not parse; ComError
  // kErrorOutOfMemory when its text cannot be held.
  bool Load(const std::string& path);
  // The document as saved: its document-level nodes each followed by "\r\n", the tree below
  // them written exactly as it stands (no re-indentation). A value made only of whitespace is
  // written as character references, and a carriage return in a value as "&#13;", so that
  // loading gives them back.
  std::string Serialize() const;
  // Serialize() into |out|, whose capacity is reused.
  void SerializeTo(std::string* out) const;
  // Writes Serialize() to |path| with the crash-safe save; raises ComError when it fails (also
  // kErrorOutOfMemory when the text cannot be built).
  void Save(const std::string& path) const;

  DomNode AsNode() const { return DomNode(doc_); }
  // The first element at document level, or null.
  DomNode DocumentElement() const;

  // New nodes belong to this document but to no parent until they are inserted.
  DomNode CreateElement(std::string_view name);
  DomNode CreateTextNode(std::string_view text);
  DomNode CreateComment(std::string_view text);
  DomNode CreateProcessingInstruction(std::string_view target, std::string_view data);

 private:
  // Load without the translation of an allocation failure.
  bool LoadPooled(const std::string& path);
  // Gives the text a loaded document was parsed from back to the pool, once doc_ no longer
  // points into it.
  void ReleaseText();

  pugi::xml_document doc_;
  // Holds nodes created but not yet inserted; pugixml has no parentless nodes.
  pugi::xml_document unattached_;
  // The file text doc_ was parsed from in place; its names and values point into it.
  std::string text_;
};

}  // namespace Foldwise

#endif  // FOLDWISE_DOM_DOM_H_
