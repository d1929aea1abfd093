#include "folders/documents/tree_text.h"

#include <cstring>
#include <string>

#include "foldwise/env.h"
#include "foldwise/location.h"
#include "location/file_path.h"
#include "storage/damaged_file.h"
#include "storage/xml_file.h"

namespace Foldwise {
namespace documents {
namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string StoredForm(const std::string& path) {
  if (path.empty()) return path;
  FilePath stored(path);  // drops the trailing separators
  stored.Canonicalize();
  std::string text = stored.GetPath();
  TrimTrailingSeparators(text);
  return text;
}

std::string ResolvedForm(const std::string& stored) {
  std::string local;
  SharePathConverter converter;
  if (!converter.ResolveStoredPath(stored, local)) local.clear();
  return local;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

std::string_view WithoutTrailingSeparators(std::string_view text) {
  while (!text.empty() && IsPathSeparator(text.back())) text.remove_suffix(1);
  return text;
}

DomNode ChildNamed(DomNode parent, const char* name) {
  // A walk over the children rather than a query: the match and the readers look up several
  // names on every item of a folder.
  for (pugi::xml_node child = parent.raw().first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element && std::strcmp(child.name(), name) == 0) {
      return DomNode(child);
    }
  }
  return DomNode();
}

std::string ChildText(DomNode parent, const char* name) {
  const DomNode child = ChildNamed(parent, name);
  return child ? child.Text() : std::string();
}

DomNode AppendTextElement(DomDocument& doc, DomNode parent, const char* name,
                          const std::string& text, int depth) {
  AppendIndent(doc, parent, depth);
  DomNode element = parent.AppendChild(doc.CreateElement(name));
  element.SetText(text);
  return element;
}

std::string FolderFilePath(const std::string& directory, const char* fileName) {
  std::string path = directory;
  TrimTrailingSeparators(path);
  return path + kNativeSeparator + fileName;
}

std::shared_ptr<DomDocument> NewFolderTemplate(const char* identifier,
                                               const std::string* folderPath, DomNode* itemList) {
  std::shared_ptr<DomDocument> doc = DomDocument::Create();
  DomNode top = doc->AsNode();
  top.AppendChild(doc->CreateProcessingInstruction("xml", "version='1.0'"));
  top.AppendChild(doc->CreateComment(identifier));
  DomNode root = top.AppendChild(doc->CreateElement("root"));
  AppendIndent(*doc, root, 1);
  DomNode list = root.AppendChild(doc->CreateElement("item_list"));
  if (folderPath != nullptr) AppendTextElement(*doc, list, "document_file_path", *folderPath, 2);
  AppendIndent(*doc, root, 0);
  if (itemList != nullptr) *itemList = list;
  return doc;
}

bool MayReplaceWithTemplate(const std::string& path) { return MakeWayForNewFile(path); }

bool NeedsTemplate(const std::string& path) {
  Env* env = Env::Current();
  FileStatus status;
  if (env->GetFileStatus(path, &status) != 0 || status.size == 0) return true;
  return env->Access(path, kAccessRead) != 0;
}

ComApartmentScope::ComApartmentScope() { EnterComApartment(); }
ComApartmentScope::~ComApartmentScope() { LeaveComApartment(); }

}  // namespace documents
}  // namespace Foldwise
