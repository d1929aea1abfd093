#include "folders/outbox/outbox_nodes.h"

#include <string>

#include "foldwise/errors.h"
#include "foldwise/location.h"
#include "location/file_path.h"
#include "storage/xml_file.h"

namespace Foldwise {
namespace outbox {
namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

thread_local KeyFormMemo* current_memo = nullptr;

}  // namespace

DomNode ChildElement(const DomNode& parent, const char* name) {
  if (parent.IsNull()) throw ComError(kErrorPointer, "null node");
  // A direct look at the element children: an XPath query per field read costs several times
  // more, and the outbox reads a few fields of every item it walks.
  return DomNode(parent.raw().child(name));
}

std::string ChildText(const DomNode& parent, const char* name) {
  const DomNode child = ChildElement(parent, name);
  return child ? child.Text() : std::string();
}

DomNode AppendElement(DomDocument& doc, DomNode parent, const char* name, int depth) {
  AppendIndent(doc, parent, depth);
  return parent.AppendChild(doc.CreateElement(name));
}

DomNode AppendTextElement(DomDocument& doc, DomNode parent, const char* name, std::string_view text,
                          int depth) {
  DomNode element = AppendElement(doc, parent, name, depth);
  element.SetText(text);
  return element;
}

void RemoveChildElements(DomNode parent, const char* name) {
  for (DomNode child = ChildElement(parent, name); child; child = ChildElement(parent, name)) {
    parent.RemoveChild(child);
  }
}

bool TrySetText(DomNode element, std::string_view text) {
  try {
    element.SetText(text);
    return true;
  } catch (const ComError&) {
    return false;
  }
}

int CountChildNodes(const DomNode& parent) {
  int count = 0;
  for (DomNode child = parent.FirstChild(); child; child = child.NextSibling()) ++count;
  return count;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::string_view::size_type i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

std::string Trimmed(std::string text) {
  TrimTrailingSeparators(text);
  return text;
}

std::string StorageForm(const std::string& path) {
  if (path.empty()) return std::string();
  FilePath stored(Trimmed(path));
  stored.Canonicalize();
  return Trimmed(stored.GetPath());
}

std::string LocalForm(const std::string& stored) {
  // The converter's answer is taken even when it reports failure: then it is empty.
  std::string local;
  SharePathConverter().ResolveStoredPath(stored, local);
  return local;
}

KeyFormMemo::KeyFormMemo() : previous_(current_memo) { current_memo = this; }
KeyFormMemo::~KeyFormMemo() { current_memo = previous_; }

std::string StorageFormOfKey(const std::string& path) {
  if (current_memo == nullptr) return StorageForm(path);
  auto found = current_memo->forms_.find(path);
  if (found == current_memo->forms_.end()) {
    found = current_memo->forms_.emplace(path, StorageForm(path)).first;
  }
  return found->second;
}

}  // namespace outbox
}  // namespace Foldwise
