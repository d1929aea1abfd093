#include "folders/documents/identity.h"

#include <memory>
#include <string>
#include <string_view>

#include "dom/dom_scan.h"
#include "folders/documents/tree_text.h"

namespace Foldwise {
namespace documents {
namespace {

// A key path as it is compared: storage form, no trailing separator. Empty stays empty.
std::string PreparedPath(const std::string& path) {
  if (path.empty()) return path;
  return std::string(WithoutTrailingSeparators(SharePaths::ToStored(path)));
}

// Whether the text of |element|, read as DomNode::Text reads it, equals |key| ignoring case
// (and, for a path, trailing separators). A field element normally holds one text node, which
// is compared in place: the match runs over every item of a folder.
bool FieldEquals(DomNode element, const std::string& key, bool path) {
  std::string joined;
  std::string_view text;
  if (!PlainTextOf(element, &text)) {
    joined = element.Text();
    text = joined;
  }
  return SameIgnoringCase(path ? WithoutTrailingSeparators(text) : text, key);
}

// An empty key field matches anything; otherwise the child must exist and agree.
bool TextMatches(DomNode item, const char* name, const std::string& key) {
  if (key.empty()) return true;
  const DomNode child = FirstChildElement(item, name);
  return child && FieldEquals(child, key, false);
}

bool PathMatches(DomNode node, const char* name, const std::string& preparedKey) {
  if (preparedKey.empty()) return true;
  const DomNode child = FirstChildElement(node, name);
  return child && FieldEquals(child, preparedKey, true);
}

}  // namespace

namespace {

bool IsEmpty(const IdentityKey& key) {
  return key.guid.empty() && key.documentName.empty() && key.documentPath.empty() &&
         key.dictationName.empty() && key.dictationPath.empty();
}

// A key with its paths in the form they are compared in.
struct PreparedKey {
  explicit PreparedKey(const IdentityKey& identity)
      : key(identity),
        documentPath(PreparedPath(identity.documentPath)),
        dictationPath(PreparedPath(identity.dictationPath)) {}

  bool Matches(DomNode item, bool folderLevel) const {
    return TextMatches(item, "guid", key.guid) &&
           TextMatches(item, "document_file_name", key.documentName) &&
           (folderLevel || PathMatches(item, "document_file_path", documentPath)) &&
           TextMatches(item, "dictation_file_name", key.dictationName) &&
           PathMatches(item, "dictation_file_path", dictationPath);
  }

  const IdentityKey& key;
  const std::string documentPath;
  const std::string dictationPath;
};

}  // namespace

DomNode FindFirstMatch(DomNode itemList, const IdentityKey& key, DocumentPathScope scope) {
  if (IsEmpty(key)) return DomNode();
  const PreparedKey prepared(key);
  const bool folderLevel = scope == DocumentPathScope::kFolderLevel;
  // The folder-level path passes or fails every item alike.
  if (folderLevel && !PathMatches(itemList, "document_file_path", prepared.documentPath)) {
    return DomNode();
  }
  const char* itemName = folderLevel ? "item" : nullptr;  // null: any element
  for (DomNode item = FirstChildElement(itemList, itemName); item;
       item = NextSiblingElement(item, itemName)) {
    if (prepared.Matches(item, folderLevel)) return item;
  }
  return DomNode();
}

DomNode FindFirstMatchAmong(DomNode itemList, const IdentityKey& key,
                            const std::vector<DomNode>& candidates) {
  if (IsEmpty(key)) return DomNode();
  const PreparedKey prepared(key);
  if (!PathMatches(itemList, "document_file_path", prepared.documentPath)) return DomNode();
  for (const DomNode& item : candidates) {
    if (prepared.Matches(item, true)) return item;
  }
  return DomNode();
}

std::unique_ptr<GuidIndex> IndexByGuid(const DomDocument&, DomNode itemList) {
  auto index = std::make_unique<GuidIndex>(GuidCase::kIgnoreAsciiCase);
  for (DomNode item = FirstChildElement(itemList, "item"); item;
       item = NextSiblingElement(item, "item")) {
    const DomNode guid = FirstChildElement(item, "guid");
    if (!guid) continue;  // matches no key that names a guid
    std::string_view text;
    if (PlainTextOf(guid, &text)) {
      index->Add(item, text);
    } else {
      index->Add(item, guid.Text());
    }
  }
  return index;
}

}  // namespace documents
}  // namespace Foldwise
