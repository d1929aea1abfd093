#include "dom/dom.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>

#include "dom/value_text.h"
#include "foldwise/env.h"
#include "foldwise/errors.h"
#include "platform/file_hold.h"
#include "platform/pooled_memory.h"

namespace Foldwise {
namespace {

constexpr unsigned kParseFlags =
    pugi::parse_default | pugi::parse_comments | pugi::parse_declaration | pugi::parse_pi;

[[noreturn]] void Fail(const std::string& what) { throw ComError(kErrorDomFailure, what); }

using value_text::IsWhitespaceOnly;

// pugixml reports an exhausted allocator inside a query, and the standard library inside any
// copy, by std::bad_alloc; above this layer only ComError is expected.
[[noreturn]] void OutOfMemory() { throw ComError(kErrorOutOfMemory, "out of memory"); }

// Plain text made only of whitespace is indentation: a value of that kind is held as CDATA.
bool IsIndentation(pugi::xml_node node) {
  if (node.type() != pugi::node_pcdata) return false;
  const char* value = node.value();
  // Values are asked about far more often than indentation, and their first character settles
  // it unless it is whitespace: the rest of a long value is not scanned for each lookup.
  if (*value != '\0' && !IsWhitespaceOnly(std::string_view(value, 1))) return false;
  return IsWhitespaceOnly(value);
}

// An empty |name| stands for any element.
bool ElementNamed(pugi::xml_node node, std::string_view name) {
  if (node.type() != pugi::node_element) return false;
  if (name.empty()) return true;
  const char* own = node.name();
  return std::strncmp(own, name.data(), name.size()) == 0 && own[name.size()] == '\0';
}

void AppendDescendantText(pugi::xml_node node, std::string* out) {
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_cdata ||
        (child.type() == pugi::node_pcdata && !IsIndentation(child))) {
      out->append(child.value());
    } else if (child.type() == pugi::node_element) {
      AppendDescendantText(child, out);
    }
  }
}

// Moves or copies |child| next to |anchor| under |parent|: pugixml moves only within one
// document, so a node of another document is copied and its original dropped.
pugi::xml_node Place(pugi::xml_node parent, pugi::xml_node child, pugi::xml_node before) {
  if (!parent || !child) throw ComError(kErrorPointer, "null node");
  pugi::xml_node placed;
  if (child.root() == parent.root()) {
    placed = before ? parent.insert_move_before(child, before) : parent.append_move(child);
  } else {
    placed = before ? parent.insert_copy_before(child, before) : parent.append_copy(child);
    if (placed && child.parent()) child.parent().remove_child(child);
  }
  if (!placed) Fail("the node cannot be inserted here");
  return placed;
}

class StringWriter : public pugi::xml_writer {
 public:
  explicit StringWriter(std::string* out) : out_(out) {}
  void write(const void* data, size_t size) override {
    out_->append(static_cast<const char*>(data), size);
  }

 private:
  std::string* out_;
};

// Room a save reserves beyond the loaded file's size, for the entries a change adds.
constexpr std::size_t kSaveHeadroom = 16 << 10;

// Whether |text| holds "<![CDATA[". A CDATA section is the only markup with a "!" but comments
// and the declarations no folder file has, so the search runs over the "!"s, found by memchr,
// instead of comparing at every position of a text of megabytes.
bool HoldsCDataSection(std::string_view text) {
  static constexpr std::string_view kCData = "<![CDATA[";
  for (std::size_t bang = text.find('!', 1); bang != std::string_view::npos;
       bang = text.find('!', bang + 1)) {
    if (text.compare(bang - 1, kCData.size(), kCData) == 0) return true;
  }
  return false;
}

// Only a text with a character reference can load into a value that needs one again.
bool HasCharacterReference(std::string_view text) {
  return text.find("&#") != std::string_view::npos;
}

bool HoldsReferencedValue(pugi::xml_node node) {
  return static_cast<bool>(
      node.find_node([](pugi::xml_node n) { return value_text::IsReferencedValue(n); }));
}

// Writes |node| as pugixml does in raw form, except that values needing character references
// get them (dom/value_text.h). Only the elements on the way to such a value are written here;
// everything else is left to pugixml, so ordinary files come out byte for byte as before.
void PrintNode(pugi::xml_node node, StringWriter& writer, std::string* out) {
  if (value_text::IsReferencedValue(node)) {
    value_text::AppendReferenced(node.value(), out);
    return;
  }
  if (node.type() != pugi::node_element || !HoldsReferencedValue(node)) {
    node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return;
  }
  // The start tag as pugixml writes it: an empty copy with the same attributes gives
  // "<name attributes/>", whose "/>" becomes ">".
  pugi::xml_document scratch;
  pugi::xml_node copy = scratch.append_child(node.name());
  for (pugi::xml_attribute attribute : node.attributes()) copy.append_copy(attribute);
  copy.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
  if (out->size() < 2 || out->compare(out->size() - 2, 2, "/>") != 0) {
    Fail("cannot write the start tag");
  }
  out->replace(out->size() - 2, 2, ">");
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    PrintNode(child, writer, out);
  }
  out->append("</").append(node.name()).append(">");
}

}  // namespace

pugi::xml_node DomNode::Checked() const {
  if (!node_) throw ComError(kErrorPointer, "null node");
  return node_;
}

std::string DomNode::NodeName() const {
  pugi::xml_node node = Checked();
  switch (node.type()) {
    case pugi::node_pcdata:
      return "#text";
    case pugi::node_cdata:
      return "#cdata-section";
    case pugi::node_comment:
      return "#comment";
    case pugi::node_document:
      return "#document";
    case pugi::node_declaration:
      return "xml";
    default:
      return node.name();
  }
}

int DomNode::NodeType() const {
  switch (Checked().type()) {
    case pugi::node_element:
      return kElementNode;
    case pugi::node_pcdata:
      return kTextNode;
    case pugi::node_cdata:
      return kCDataNode;
    case pugi::node_pi:
    case pugi::node_declaration:
      return kProcessingInstructionNode;
    case pugi::node_comment:
      return kCommentNode;
    case pugi::node_document:
      return kDocumentNode;
    default:
      return 10;  // document type
  }
}

DomNode DomNode::ParentNode() const { return DomNode(Checked().parent()); }

DomNodeList DomNode::ChildNodes() const {
  DomNodeList children;
  for (pugi::xml_node child = Checked().first_child(); child; child = child.next_sibling()) {
    children.push_back(DomNode(child));
  }
  return children;
}

DomNode DomNode::FirstChild() const { return DomNode(Checked().first_child()); }
DomNode DomNode::PreviousSibling() const { return DomNode(Checked().previous_sibling()); }
DomNode DomNode::NextSibling() const { return DomNode(Checked().next_sibling()); }
bool DomNode::HasChildNodes() const { return static_cast<bool>(Checked().first_child()); }

DomNode DomNode::AppendChild(DomNode child) {
  return DomNode(Place(Checked(), child.Checked(), pugi::xml_node()));
}

DomNode DomNode::InsertBefore(DomNode child, DomNode ref) {
  pugi::xml_node parent = Checked();
  if (ref && ref.node_.parent() != parent) Fail("the reference node is not a child");
  return DomNode(Place(parent, child.Checked(), ref.node_));
}

void DomNode::RemoveChild(DomNode child) {
  pugi::xml_node parent = Checked();
  if (child.Checked().parent() != parent || !parent.remove_child(child.node_)) {
    Fail("the node is not a child");
  }
}

std::string DomNode::Text() const {
  pugi::xml_node node = Checked();
  std::string text;
  if (node.type() == pugi::node_element || node.type() == pugi::node_document) {
    AppendDescendantText(node, &text);
  } else {
    if (!IsIndentation(node)) text = node.value();
  }
  return text;
}

void DomNode::SetText(std::string_view text) {
  pugi::xml_node node = Checked();
  // Checked before anything changes: pugixml would cut the text at a NUL, and a file holding
  // the other refused characters is one a strict XML reader rejects as a whole.
  if (!IsXmlText(text)) Fail("the text holds a character a folder file cannot carry");
  if (node.type() != pugi::node_element) {
    if (!node.set_value(std::string(text).c_str())) Fail("the node holds no text");
    return;
  }
  const pugi::xml_node_type kind =
      value_text::NeedsReferences(text) ? pugi::node_cdata : pugi::node_pcdata;
  pugi::xml_node data;
  if (!text.empty()) {
    // Made before the old children go, so a failure leaves the node as it was.
    data = node.prepend_child(kind);
    if (!data || !data.set_value(std::string(text).c_str())) {
      if (data) node.remove_child(data);
      Fail("the text cannot be set");
    }
  }
  while (data ? data.next_sibling() : node.first_child()) {
    node.remove_child(data ? data.next_sibling() : node.first_child());
  }
}

std::string DomNode::GetAttribute(const char* name) const {
  return Checked().attribute(name).value();
}

void DomNode::SetAttribute(const char* name, std::string_view value) {
  pugi::xml_node node = Checked();
  if (node.type() != pugi::node_element) Fail("only elements have attributes");
  if (!IsXmlText(value)) Fail("the value holds a character a folder file cannot carry");
  pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute) attribute = node.append_attribute(name);
  if (!attribute || !attribute.set_value(std::string(value).c_str())) {
    Fail("the attribute cannot be set");
  }
}

void DomNode::RemoveAttribute(const char* name) {
  pugi::xml_node node = Checked();
  if (node.attribute(name)) node.remove_attribute(name);
}

DomNodeList DomNode::SelectNodes(const std::string& xpath) const {
  pugi::xml_node node = Checked();
  if (xpath.empty()) Fail("empty query");
  try {
    const pugi::xpath_node_set selected = node.select_nodes(xpath.c_str());
    DomNodeList nodes;
    nodes.reserve(selected.size());
    for (const pugi::xpath_node& match : selected) {
      if (match.node()) nodes.push_back(DomNode(match.node()));
    }
    return nodes;
  } catch (const pugi::xpath_exception& e) {
    Fail(std::string("query rejected: ") + e.what());
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  }
}

DomNode DomNode::SelectSingleNode(const std::string& xpath) const {
  pugi::xml_node node = Checked();
  if (xpath.empty()) Fail("empty query");
  try {
    return DomNode(node.select_node(xpath.c_str()).node());
  } catch (const pugi::xpath_exception& e) {
    Fail(std::string("query rejected: ") + e.what());
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  }
}

bool DomNode::IsElementNamed(std::string_view name) const {
  return !name.empty() && ElementNamed(Checked(), name);
}

std::string DomNode::ChildText(std::string_view name) const {
  for (pugi::xml_node child = Checked().first_child(); child; child = child.next_sibling()) {
    if (ElementNamed(child, name)) return DomNode(child).Text();
  }
  return std::string();
}

std::size_t DomNode::ChildCount() const {
  std::size_t count = 0;
  for (pugi::xml_node child = Checked().first_child(); child; child = child.next_sibling()) {
    ++count;
  }
  return count;
}

std::string DomNode::NodeValue() const { return Checked().value(); }

DomNode DomNode::OwnerDocument() const { return DomNode(Checked().root()); }

// pugixml's memory functions are left as the host set them (or at their defaults): they are
// process-wide, and a host using pugixml itself must not have its blocks freed through ours.
DomDocument::DomDocument() = default;

std::shared_ptr<DomDocument> DomDocument::Create() {
  try {
    return std::make_shared<DomDocument>();
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  }
}

DomDocument::~DomDocument() {
  doc_.reset();
  ReleaseText();
}

void DomDocument::ReleaseText() {
  if (text_.capacity() != 0) platform::ReturnBuffer(std::move(text_));
  text_ = std::string();
}

bool DomDocument::LoadXml(std::string_view text) {
  const bool references = HasCharacterReference(text);
  const pugi::xml_parse_result result =
      doc_.load_buffer(text.data(), text.size(), kParseFlags, pugi::encoding_auto);
  // Whatever came of it, the document no longer points into a text of its own.
  ReleaseText();
  if (!result) {
    doc_.reset();
    return false;
  }
  if (references) value_text::MarkReferencedValues(doc_);
  return true;
}

bool DomDocument::Load(const std::string& path) {
  try {
    return LoadPooled(path);
  } catch (const std::bad_alloc&) {
    doc_.reset();
    ReleaseText();
    OutOfMemory();
  }
}

bool DomDocument::LoadPooled(const std::string& path) {
  // Read into a pooled buffer and parsed where it lies, so a large file lands in memory that is
  // already touched and pugixml makes no copy of it.
  std::string text = platform::TakeBuffer();
  if (platform::ReadFileForLoad(Env::Current(), path, &text) != 0) {
    platform::ReturnBuffer(std::move(text));
    doc_.reset();
    ReleaseText();
    return false;
  }
  // Parsing in place overwrites the text, so look for references and NULs first.
  const bool references = HasCharacterReference(text);
  const bool nul = text.find('\0') != std::string::npos;
  const pugi::xml_parse_result result =
      doc_.load_buffer_inplace(text.data(), text.size(), kParseFlags, pugi::encoding_auto);
  // The previous text is no longer referenced; the new one is, for the life of the content.
  ReleaseText();
  text_ = std::move(text);
  // The in-place parser takes a NUL for the end of the text and may accept what came before
  // it: a damaged file would load as a fragment, and the next save would drop the rest. UTF-8
  // XML never holds a NUL.
  if (!result || (nul && result.encoding == pugi::encoding_utf8)) {
    doc_.reset();
    ReleaseText();
    return false;
  }
  if (references) value_text::MarkReferencedValues(doc_);
  return true;
}

void DomDocument::SerializeTo(std::string* out) const {
  out->clear();
  StringWriter writer(out);
  // Values that need character references are held in CDATA nodes. Most documents have none,
  // and then pugixml writes every node as it is: a search of its output for a CDATA section is
  // much cheaper than a search of the tree, and only a document that has one is written again,
  // node by node.
  for (pugi::xml_node child = doc_.first_child(); child; child = child.next_sibling()) {
    child.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    out->append("\r\n");
  }
  if (!HoldsCDataSection(*out)) return;
  out->clear();
  for (pugi::xml_node child = doc_.first_child(); child; child = child.next_sibling()) {
    PrintNode(child, writer, out);
    out->append("\r\n");
  }
}

std::string DomDocument::Serialize() const {
  std::string out;
  SerializeTo(&out);
  return out;
}

void DomDocument::Save(const std::string& path) const {
  // A pooled buffer, as the text of Load is.
  platform::ScopedBuffer text;
  try {
    // Sized once, for the file this document was loaded from and what a change adds to it: a
    // buffer grown while it is written would copy the text at every doubling.
    text.get()->reserve(text_.size() + text_.size() / 8 + kSaveHeadroom);
    SerializeTo(text.get());
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  }
  const int error = WriteFileAtomically(Env::Current(), path, *text.get());
  if (error != 0) {
    throw ComError(kErrorConversionBase | (static_cast<unsigned>(error) & 0xFFFFu),
                   "cannot save " + path + ": " + std::strerror(error));
  }
}

DomNode DomDocument::DocumentElement() const { return DomNode(doc_.document_element()); }

DomNode DomDocument::CreateElement(std::string_view name) {
  if (name.empty()) Fail("an element needs a name");
  pugi::xml_node node = unattached_.append_child(std::string(name).c_str());
  if (!node) throw ComError(kErrorOutOfMemory, "out of memory");
  return DomNode(node);
}

DomNode DomDocument::CreateTextNode(std::string_view text) {
  pugi::xml_node node = unattached_.append_child(pugi::node_pcdata);
  if (!node || !node.set_value(std::string(text).c_str())) {
    throw ComError(kErrorOutOfMemory, "out of memory");
  }
  return DomNode(node);
}

DomNode DomDocument::CreateComment(std::string_view text) {
  pugi::xml_node node = unattached_.append_child(pugi::node_comment);
  if (!node || !node.set_value(std::string(text).c_str())) {
    throw ComError(kErrorOutOfMemory, "out of memory");
  }
  return DomNode(node);
}

DomNode DomDocument::CreateProcessingInstruction(std::string_view target, std::string_view data) {
  if (target.empty()) Fail("a processing instruction needs a target");
  if (target == "xml") {
    // The XML declaration: parse its pseudo-attributes so it is written as one.
    pugi::xml_document parsed;
    const std::string text = "<?xml " + std::string(data) + "?><x/>";
    if (!parsed.load_string(text.c_str(), pugi::parse_declaration)) {
      Fail("malformed XML declaration");
    }
    return DomNode(unattached_.append_copy(parsed.first_child()));
  }
  pugi::xml_node node = unattached_.append_child(pugi::node_pi);
  if (!node || !node.set_name(std::string(target).c_str()) ||
      !node.set_value(std::string(data).c_str())) {
    throw ComError(kErrorOutOfMemory, "out of memory");
  }
  return DomNode(node);
}

}  // namespace Foldwise
