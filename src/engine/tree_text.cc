#include "engine/tree_text.h"

#include "storage/xml_file.h"

namespace Foldwise {
namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::string_view::size_type i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
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

}  // namespace Foldwise
