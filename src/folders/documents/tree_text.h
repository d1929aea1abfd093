// Small pieces every documents-family folder uses on its tree: stored paths in and out, text
// comparison as the identity match needs it, named children, indented appends and the folder
// file skeleton.
#ifndef FOLDWISE_FOLDERS_DOCUMENTS_TREE_TEXT_H_
#define FOLDWISE_FOLDERS_DOCUMENTS_TREE_TEXT_H_

#include <memory>
#include <string>
#include <string_view>

#include "dom/dom.h"

namespace Foldwise {
namespace documents {

// The form a path is stored in: trailing separators removed, put through the resolver's
// storage conversion (unchanged when it cannot be converted), trailing separator trimmed.
std::string StoredForm(const std::string& path);
// A stored path made usable on this machine; empty when it cannot be resolved.
std::string ResolvedForm(const std::string& stored);

// Equal when both are upper-cased (ASCII letters; other bytes compare as they are).
bool SameIgnoringCase(std::string_view a, std::string_view b);
// |text| without its trailing separators.
std::string_view WithoutTrailingSeparators(std::string_view text);

// The first child element of |parent| called |name|, or null.
DomNode ChildNamed(DomNode parent, const char* name);
// The text of ChildNamed(parent, name), empty when there is no such child.
std::string ChildText(DomNode parent, const char* name);

// Appends the indent text of |depth| and then an element |name| holding |text| to |parent|;
// returns the element.
DomNode AppendTextElement(DomDocument& doc, DomNode parent, const char* name,
                          const std::string& text, int depth);

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

// Keeps the DOM's per-thread bracket entered for a scope.
class ComApartmentScope {
 public:
  ComApartmentScope();
  ~ComApartmentScope();
  ComApartmentScope(const ComApartmentScope&) = delete;
  ComApartmentScope& operator=(const ComApartmentScope&) = delete;
};

}  // namespace documents
}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_DOCUMENTS_TREE_TEXT_H_
