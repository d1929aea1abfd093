// Tree operations of XmlDocumentFile: indentation, insertion, lookup, removal and merging. Each
// catches DOM errors and answers null or 0, except NodeDepth, whose callers decide.
#include <string>

#include "dom/dom_scan.h"
#include "foldwise/errors.h"
#include "storage/xml_file.h"

namespace Foldwise {
namespace {

constexpr int kMaxItemIndentDepth = 9;
constexpr int kMaxFolderIndentDepth = 5;

bool HasAnyElementChild(DomNode parent) {
  for (DomNode child = parent.FirstChild(); child; child = child.NextSibling()) {
    if (child.NodeType() == kElementNode) return true;
  }
  return false;
}

// Removes |node| with the indentation text that opens its line.
void RemoveWithIndent(DomNode node) {
  DomNode parent = node.ParentNode();
  const DomNode before = node.PreviousSibling();
  if (before && before.NodeType() != kElementNode) parent.RemoveChild(before);
  parent.RemoveChild(node);
}

bool IsUnderDocumentElement(DomNode node) {
  const DomNode parent = node.ParentNode();
  return parent && parent.NodeType() != kDocumentNode;
}

}  // namespace

DomNode XmlDocumentFile::MakeIndentText(int depth) {
  if (depth < 0 || depth > kMaxItemIndentDepth || !document) return DomNode();
  try {
    std::string text = "\r\n";
    text.append(static_cast<std::string::size_type>(depth), '\t');
    return document->CreateTextNode(text);
  } catch (const ComError&) {
    return DomNode();
  }
}

DomNode XmlDocumentFile::AppendChildIndented(DomNode parent, DomNode child, int depth) {
  try {
    DomNode appended = parent.AppendChild(child);
    const DomNode before = appended.PreviousSibling();
    if (before && before.NodeType() != kElementNode) parent.RemoveChild(before);
    const DomNode opening = MakeIndentText(depth);
    if (opening) parent.InsertBefore(opening, appended);
    const DomNode closing = MakeIndentText(depth == 0 ? 0 : depth - 1);
    if (closing) InsertAfter(appended, closing);
    return appended;
  } catch (const ComError&) {
    return DomNode();
  }
}

DomNode XmlDocumentFile::AddChildElement(DomNode parent, const std::string& name, int depth) {
  if (!document) return DomNode();
  try {
    return AppendChildIndented(parent, document->CreateElement(name), depth);
  } catch (const ComError&) {
    return DomNode();
  }
}

int XmlDocumentFile::InsertBefore(DomNode ref, DomNode newNode) {
  try {
    ref.ParentNode().InsertBefore(newNode, ref);
    return 1;
  } catch (const ComError&) {
    return 0;
  }
}

int XmlDocumentFile::InsertAfter(DomNode ref, DomNode newNode) {
  try {
    ref.ParentNode().InsertBefore(newNode, ref.NextSibling());
    return 1;
  } catch (const ComError&) {
    return 0;
  }
}

DomNode XmlDocumentFile::FindChild(DomNode from, const std::string& xpath) {
  try {
    return from.SelectSingleNode(xpath);
  } catch (const ComError&) {
    return DomNode();
  }
}

DomNode XmlDocumentFile::FindOrCreateChild(DomNode parent, const std::string& name) {
  const DomNode found = FindChild(parent, name);
  if (found) return found;
  try {
    return AddChildElement(parent, name, NodeDepth(parent) + 1);
  } catch (const ComError&) {
    return DomNode();
  }
}

int XmlDocumentFile::NodeDepth(DomNode node) {
  int depth = 0;
  for (DomNode parent = node.ParentNode(); parent && parent.NodeType() != kDocumentNode;
       parent = parent.ParentNode()) {
    ++depth;
  }
  return depth;
}

bool XmlDocumentFile::IsElementNode(DomNode node) {
  try {
    return node.NodeType() == kElementNode;
  } catch (const ComError&) {
    return false;
  }
}

bool XmlDocumentFile::HasElementChild(DomNode parent, const char* xpath) {
  try {
    if (xpath != nullptr) return static_cast<bool>(parent.SelectSingleNode(xpath));
    return HasAnyElementChild(parent);
  } catch (const ComError&) {
    return false;
  }
}

int XmlDocumentFile::RemoveNodeAndEmptyAncestors(DomNode node) {
  try {
    DomNode parent = node.ParentNode();
    RemoveWithIndent(node);
    // An item_list that lost its last element goes too; root always stays.
    if (!HasAnyElementChild(parent) && IsUnderDocumentElement(parent)) {
      return RemoveNodeAndEmptyAncestors(parent);
    }
    return 1;
  } catch (const ComError&) {
    return 0;
  }
}

int XmlDocumentFile::RemoveSelected(DomNode parent, const std::string& xpath) {
  try {
    for (DomNode match = parent.SelectSingleNode(xpath); match;
         match = parent.SelectSingleNode(xpath)) {
      RemoveWithIndent(match);
    }
    if (!HasAnyElementChild(parent) && IsUnderDocumentElement(parent)) {
      return RemoveNodeAndEmptyAncestors(parent);
    }
    return 1;
  } catch (const ComError&) {
    return 0;
  }
}

namespace {

// Whether two element nodes have the same name, compared where the names lie: a change merges
// every field of its values this way. A null node raises, as its name would.
bool SameElementName(DomNode a, DomNode b) {
  if (!a || !b) throw ComError(kErrorPointer, "null node");
  return NameOf(a) == NameOf(b);
}

}  // namespace

int XmlDocumentFile::MergeFits(DomNode target, DomNode source) {
  try {
    if (!SameElementName(target, source)) return 0;
    const bool target_is_leaf = !HasAnyElementChild(target);
    if (target_is_leaf != !HasAnyElementChild(source)) return 0;
    if (target_is_leaf) return 1;
    for (DomNode child = FirstChildElement(source, nullptr); child;
         child = NextSiblingElement(child, nullptr)) {
      const DomNode counterpart = FirstChildElement(target, NameText(child));
      if (counterpart && !MergeFits(counterpart, child)) return 0;
    }
    return 1;
  } catch (const ComError&) {
    return 0;
  }
}

int XmlDocumentFile::MergeNode(DomNode target, DomNode source) {
  try {
    if (!SameElementName(target, source)) return 0;
    const bool target_is_leaf = !HasAnyElementChild(target);
    if (target_is_leaf != !HasAnyElementChild(source)) return 0;
    if (target_is_leaf) {
      const std::string text = source.Text();
      if (!text.empty()) {
        target.SetText(text);
      } else {
        // An empty value in a change deletes the stored field.
        target.ParentNode().RemoveChild(target);
      }
      return 1;
    }
    const int depth = NodeDepth(target);
    // A child appended to |target| leaves |source|: the next one is found before it moves.
    DomNode next;
    for (DomNode child = FirstChildElement(source, nullptr); child; child = next) {
      next = NextSiblingElement(child, nullptr);
      const DomNode counterpart = FirstChildElement(target, NameText(child));
      if (counterpart) {
        if (!MergeNode(counterpart, child)) return 0;
      } else if (!child.Text().empty()) {
        if (!AppendChildIndented(target, child, depth + 1)) return 0;
      }
    }
    return 1;
  } catch (const ComError&) {
    return 0;
  }
}

void AppendIndent(DomDocument& doc, DomNode parent, int depth) {
  if (depth < 0 || depth > kMaxFolderIndentDepth) {
    throw ComError(kErrorDomFailure, "no indentation text for this depth");
  }
  std::string text = "\n";
  text.append(static_cast<std::string::size_type>(depth), '\t');
  parent.AppendChild(doc.CreateTextNode(text));
}

DomNode GetOrCreateChildElement(DomDocument& doc, DomNode parent, const std::string& name,
                                int depth) {
  const DomNode found = parent.SelectSingleNode(name);
  if (found) return found;
  DomNode node = parent.AppendChild(doc.CreateElement(name));
  if (node && depth > 0) AppendIndent(doc, parent, depth);
  return node;
}

}  // namespace Foldwise
