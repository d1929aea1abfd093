#include "folders/documents/identity.h"

#include <cstring>
#include <string>
#include <string_view>

#include "folders/documents/tree_text.h"

namespace Foldwise {
namespace documents {
namespace {

// A key path as it is compared: storage form, no trailing separator. Empty stays empty.
std::string PreparedPath(const std::string& path) {
  if (path.empty()) return path;
  return std::string(WithoutTrailingSeparators(StoredForm(path)));
}

// Whether the text of |element|, read as DomNode::Text reads it, equals |key| ignoring case
// (and, for a path, trailing separators). A field element normally holds one text node, which
// is compared in place: the match runs over every item of a folder.
bool FieldEquals(DomNode element, const std::string& key, bool path) {
  const pugi::xml_node first = element.raw().first_child();
  std::string joined;
  std::string_view text;
  if (first && !first.next_sibling() && first.type() == pugi::node_pcdata) {
    text = first.value();
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) text = {};
  } else {
    joined = element.Text();
    text = joined;
  }
  return SameIgnoringCase(path ? WithoutTrailingSeparators(text) : text, key);
}

// An empty key field matches anything; otherwise the child must exist and agree.
bool TextMatches(DomNode item, const char* name, const std::string& key) {
  if (key.empty()) return true;
  const DomNode child = ChildNamed(item, name);
  return child && FieldEquals(child, key, false);
}

bool PathMatches(DomNode node, const char* name, const std::string& preparedKey) {
  if (preparedKey.empty()) return true;
  const DomNode child = ChildNamed(node, name);
  return child && FieldEquals(child, preparedKey, true);
}

}  // namespace

DomNode FindFirstMatch(DomNode itemList, const IdentityKey& key, DocumentPathScope scope) {
  if (key.guid.empty() && key.documentName.empty() && key.documentPath.empty() &&
      key.dictationName.empty() && key.dictationPath.empty()) {
    return DomNode();
  }
  const std::string documentPath = PreparedPath(key.documentPath);
  const std::string dictationPath = PreparedPath(key.dictationPath);
  const bool folderLevel = scope == DocumentPathScope::kFolderLevel;
  // The folder-level path passes or fails every item alike.
  if (folderLevel && !PathMatches(itemList, "document_file_path", documentPath)) return DomNode();

  for (pugi::xml_node node = itemList.raw().first_child(); node; node = node.next_sibling()) {
    if (node.type() != pugi::node_element) continue;
    if (folderLevel && std::strcmp(node.name(), "item") != 0) continue;
    const DomNode item(node);
    if (TextMatches(item, "guid", key.guid) &&
        TextMatches(item, "document_file_name", key.documentName) &&
        (folderLevel || PathMatches(item, "document_file_path", documentPath)) &&
        TextMatches(item, "dictation_file_name", key.dictationName) &&
        PathMatches(item, "dictation_file_path", dictationPath)) {
      return item;
    }
  }
  return DomNode();
}

}  // namespace documents
}  // namespace Foldwise
