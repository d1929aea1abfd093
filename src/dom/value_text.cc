#include "dom/value_text.h"

#include <cstdint>
#include <vector>

#include "dom/dom.h"

namespace Foldwise {

bool IsXmlText(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    const unsigned char lead = *p;
    if (lead < 0x80) {
      if (lead < 0x20 && lead != '\t' && lead != '\n' && lead != '\r') return false;
      ++p;
      continue;
    }
    int length = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07u;
    } else {
      return false;  // a continuation byte, an overlong two-byte lead, or beyond U+10FFFF
    }
    if (end - p < length) return false;
    for (int i = 1; i < length; ++i) {
      if ((p[i] & 0xC0u) != 0x80u) return false;
      code = (code << 6) | (p[i] & 0x3Fu);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (overlong || surrogate || code > 0x10FFFF || code == 0xFFFE || code == 0xFFFF) {
      return false;
    }
    p += length;
  }
  return true;
}

namespace value_text {

bool IsWhitespaceOnly(std::string_view text) {
  return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

bool NeedsReferences(std::string_view text) {
  return !text.empty() && (IsWhitespaceOnly(text) || text.find('\r') != std::string_view::npos);
}

bool IsReferencedValue(pugi::xml_node node) {
  return node.type() == pugi::node_cdata && NeedsReferences(node.value());
}

void AppendReferenced(std::string_view text, std::string* out) {
  const bool all = IsWhitespaceOnly(text);
  for (const char c : text) {
    switch (c) {
      case '&':
        out->append("&amp;");
        break;
      case '<':
        out->append("&lt;");
        break;
      case '>':
        out->append("&gt;");
        break;
      case '\r':
        out->append("&#13;");
        break;
      case '\n':
        out->append(all ? "&#10;" : "\n");
        break;
      case '\t':
        out->append(all ? "&#9;" : "\t");
        break;
      case ' ':
        out->append(all ? "&#32;" : " ");
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          // Only a file loaded with such a reference holds one; it is kept as it came.
          const int code = static_cast<unsigned char>(c);
          out->append("&#");
          out->push_back(static_cast<char>('0' + code / 10));
          out->push_back(static_cast<char>('0' + code % 10));
          out->push_back(';');
        } else {
          out->push_back(c);
        }
    }
  }
}

void MarkReferencedValues(pugi::xml_node root) {
  std::vector<pugi::xml_node> found;
  struct Finder : pugi::xml_tree_walker {
    explicit Finder(std::vector<pugi::xml_node>* out) : out_(out) {}
    bool for_each(pugi::xml_node& node) override {
      if (node.type() == pugi::node_pcdata && NeedsReferences(node.value())) out_->push_back(node);
      return true;
    }
    std::vector<pugi::xml_node>* out_;
  } finder(&found);
  root.traverse(finder);
  for (pugi::xml_node text : found) {
    pugi::xml_node parent = text.parent();
    pugi::xml_node value = parent.insert_child_before(pugi::node_cdata, text);
    // Out of memory leaves the text node as it is: it is written raw then, as before.
    if (!value || !value.set_value(text.value())) {
      if (value) parent.remove_child(value);
      continue;
    }
    parent.remove_child(text);
  }
}

}  // namespace value_text
}  // namespace Foldwise
