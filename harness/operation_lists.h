// The family table's rows, one file per kind of folder, and the folder objects they open.
#ifndef FOLDWISE_HARNESS_OPERATION_LISTS_H_
#define FOLDWISE_HARNESS_OPERATION_LISTS_H_

#include <string>
#include <type_traits>
#include <vector>

#include "foldwise/xml_file_base.h"
#include "harness/family_table.h"

namespace Foldwise {
namespace harness {

using Operations = std::vector<Operation>;

void AddCachedOperations(Operations& ops);
void AddAttributeOperations(Operations& ops);
void AddDocumentOperations(Operations& ops);
void AddOutboxOperations(Operations& ops);

// A folder on |dir|, the cached ones through their own setter.
template <typename Folder>
Folder FolderAt(const std::string& dir) {
  Folder folder;
  if constexpr (std::is_base_of_v<XmlFileBase, Folder>) {
    folder.SetDirectory(dir);
  } else {
    folder.SetXmlFalePath(dir.c_str());
  }
  return folder;
}

// Adds the row |name| of |family|, whose work gets a folder on the data directory.
template <typename Folder, typename Work>
void AddRow(Operations& ops, Family family, const char* name, Effect effect, Work work) {
  ops.push_back({family, name, effect, [work](const std::string& dir, Texts& texts) {
                   Folder folder = FolderAt<Folder>(dir);
                   return work(folder, texts);
                 }});
}

}  // namespace harness
}  // namespace Foldwise

#endif  // FOLDWISE_HARNESS_OPERATION_LISTS_H_
