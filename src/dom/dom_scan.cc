#include "dom/dom_scan.h"

#include <cstdint>
#include <cstring>

namespace Foldwise {

struct DomScanAccess {
  static pugi::xml_node Of(DomNode node) { return node.node_; }
  static DomNode Make(pugi::xml_node node) { return DomNode(node); }
};

namespace {

pugi::xml_node Of(DomNode node) { return DomScanAccess::Of(node); }
DomNode Make(pugi::xml_node node) { return DomScanAccess::Make(node); }

using dom_internal::IsNullNode;

bool IsText(pugi::xml_node node) {
  const pugi::xml_node_type type = node.type();
  return type == pugi::node_pcdata || type == pugi::node_cdata;
}

// The node after |node| in document order among the descendants of |top|, or null.
pugi::xml_node NextInSubtree(pugi::xml_node node, pugi::xml_node top) {
  const pugi::xml_node child = node.first_child();
  if (!IsNullNode(child)) return child;
  while (!dom_internal::SameNode(node, top)) {
    const pugi::xml_node next = node.next_sibling();
    if (!IsNullNode(next)) return next;
    node = node.parent();
  }
  return pugi::xml_node();
}

}  // namespace

// pugixml's own search by name runs the whole walk in one call; it also finds processing
// instructions of that name, which are skipped here.
DomNode FirstChildElement(DomNode parent, const char* name) {
  if (name != nullptr) {
    pugi::xml_node child = Of(parent).child(name);
    while (!IsNullNode(child) && child.type() != pugi::node_element) {
      child = child.next_sibling(name);
    }
    return Make(child);
  }
  pugi::xml_node child = Of(parent).first_child();
  while (!IsNullNode(child) && child.type() != pugi::node_element) child = child.next_sibling();
  return Make(child);
}

DomNode NextSiblingElement(DomNode node, const char* name) {
  if (name != nullptr) {
    pugi::xml_node next = Of(node).next_sibling(name);
    while (!IsNullNode(next) && next.type() != pugi::node_element) next = next.next_sibling(name);
    return Make(next);
  }
  pugi::xml_node next = Of(node).next_sibling();
  while (!IsNullNode(next) && next.type() != pugi::node_element) next = next.next_sibling();
  return Make(next);
}

const char* NameText(DomNode node) { return Of(node).name(); }

std::string_view NameOf(DomNode node) { return Of(node).name(); }

DomNode DocumentOf(DomNode node) { return Make(Of(node).root()); }

bool PlainTextOf(DomNode node, std::string_view* text) {
  const pugi::xml_node first = Of(node).first_child();
  if (IsNullNode(first) || !IsNullNode(first.next_sibling())) return false;
  const pugi::xml_node_type type = first.type();
  const char* value = first.value();
  // Plain text made only of whitespace is indentation, which reads as nothing; a value that
  // does not begin with whitespace is not.
  const char lead = *value;
  const bool plain = lead != '\0' && lead != ' ' && lead != '\t' && lead != '\r' && lead != '\n';
  if (type != pugi::node_cdata && (type != pugi::node_pcdata || !plain)) return false;
  *text = value;
  return true;
}

void AssignText(DomNode node, std::string* out) {
  std::string_view text;
  if (PlainTextOf(node, &text)) {
    out->assign(text.data(), text.size());
  } else {
    *out = node.Text();
  }
}

void AssignChildTexts(DomNode parent, const char* const* names, std::string* const* texts,
                      std::size_t count) {
  constexpr std::size_t kBatch = 64;  // the names already taken are tracked in a 64-bit mask
  for (; count > kBatch; count -= kBatch, names += kBatch, texts += kBatch) {
    AssignChildTexts(parent, names, texts, kBatch);
  }
  std::uint64_t taken = 0;
  std::size_t left = count;
  // Fields are stored in table order, so the search for the next name starts after the last hit.
  std::size_t next = 0;
  for (pugi::xml_node child = Of(parent).first_child(); !IsNullNode(child) && left > 0;
       child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    const char* name = child.name();
    for (std::size_t tried = 0; tried < count; ++tried) {
      const std::size_t at = (next + tried) % count;
      // Most names differ in their first letter, which is compared without a call.
      if (name[0] != names[at][0] || std::strcmp(name, names[at]) != 0) continue;
      const std::uint64_t bit = std::uint64_t{1} << at;
      if ((taken & bit) == 0) {
        taken |= bit;
        --left;
        AssignText(Make(child), texts[at]);
      }
      next = at + 1;
      break;
    }
  }
  for (std::size_t i = 0; i < count; ++i) {
    if ((taken & (std::uint64_t{1} << i)) == 0) texts[i]->clear();
  }
}

bool StringValueEquals(DomNode node, std::string_view text) {
  const pugi::xml_node top = Of(node);
  if (IsNullNode(top)) return false;
  if (IsText(top)) return text == top.value();
  std::size_t matched = 0;
  for (pugi::xml_node at = top.first_child(); !IsNullNode(at); at = NextInSubtree(at, top)) {
    if (!IsText(at)) continue;
    const std::string_view piece = at.value();
    if (text.size() - matched < piece.size() || text.compare(matched, piece.size(), piece) != 0) {
      return false;
    }
    matched += piece.size();
  }
  return matched == text.size();
}

bool SingleTextOf(DomNode node, std::string_view* text) {
  const pugi::xml_node top = Of(node);
  *text = std::string_view();
  if (IsNullNode(top)) return false;
  if (IsText(top)) {
    *text = top.value();
    return true;
  }
  bool found = false;
  for (pugi::xml_node at = top.first_child(); !IsNullNode(at); at = NextInSubtree(at, top)) {
    if (!IsText(at)) continue;
    if (found) return false;
    found = true;
    *text = at.value();
  }
  return true;
}

}  // namespace Foldwise
