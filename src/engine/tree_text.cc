#include "engine/tree_text.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "storage/xml_file.h"

namespace Foldwise {
namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  // Keys are matched against every item of a folder, and texts that agree mostly agree byte for
  // byte: eight bytes are compared at once, and only a block that differs is compared by letter.
  constexpr std::size_t kBlock = sizeof(std::uint64_t);
  std::size_t i = 0;
  for (; i + kBlock <= a.size(); i += kBlock) {
    std::uint64_t left = 0;
    std::uint64_t right = 0;
    std::memcpy(&left, a.data() + i, kBlock);
    std::memcpy(&right, b.data() + i, kBlock);
    if (left == right) continue;
    for (std::size_t k = i; k < i + kBlock; ++k) {
      if (Upper(a[k]) != Upper(b[k])) return false;
    }
  }
  for (; i < a.size(); ++i) {
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
