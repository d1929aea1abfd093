#include "folders/documents/tree_text.h"

#include <string>

#include "base/path_text.h"
#include "foldwise/env.h"
#include "storage/damaged_file.h"
#include "storage/xml_file.h"

namespace Foldwise {
namespace documents {
std::string_view WithoutTrailingSeparators(std::string_view text) {
  while (!text.empty() && IsPathSeparator(text.back())) text.remove_suffix(1);
  return text;
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

}  // namespace documents
}  // namespace Foldwise
