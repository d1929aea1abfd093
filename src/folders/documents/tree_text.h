// Small pieces every documents-family folder uses on its tree: separators trimmed for the identity
// match, and the folder file skeleton (text comparison and indented appends are the engine's).
// Paths go in and out through the engine's path policy (SharePaths), the per-thread bracket is the
// engine's ComApartmentScope.
#ifndef FOLDWISE_FOLDERS_DOCUMENTS_TREE_TEXT_H_
#define FOLDWISE_FOLDERS_DOCUMENTS_TREE_TEXT_H_

#include <memory>
#include <string>
#include <string_view>

#include "dom/dom.h"
#include "engine/error_boundary.h"
#include "engine/path_policy.h"
#include "engine/tree_text.h"

namespace Foldwise {
namespace documents {

// |text| without its trailing separators.
std::string_view WithoutTrailingSeparators(std::string_view text);

// The folder file's path: the data directory, one separator, the file name.
std::string FolderFilePath(const std::string& directory, const char* fileName);

// A new document holding the declaration, the |identifier| comment and `root` with an empty
// `item_list` (indented as a new file is). With |folderPath| non-null, item_list first holds a
// `document_file_path` element with that text.
std::shared_ptr<DomDocument> NewFolderTemplate(const char* identifier,
                                               const std::string* folderPath,
                                               DomNode* itemList = nullptr);
// Whether |path| may be replaced by a template: it is missing or empty, or it parses, or it did
// not parse and has been set aside (storage/damaged_file.h). Such a file is never overwritten.
bool MayReplaceWithTemplate(const std::string& path);
// Whether the folder file must first be made from the template: it cannot be read, or it is
// empty.
bool NeedsTemplate(const std::string& path);

}  // namespace documents
}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_DOCUMENTS_TREE_TEXT_H_
