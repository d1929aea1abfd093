#include "folders/outbox/outbox_nodes.h"

#include <string>

#include "base/path_text.h"
#include "foldwise/errors.h"
#include "storage/xml_file.h"

namespace Foldwise {
namespace outbox {
namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

thread_local KeyFormMemo* current_memo = nullptr;

}  // namespace

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
  for (DomNode child = parent.ChildElement(name); child; child = parent.ChildElement(name)) {
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
