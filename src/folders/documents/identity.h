// Finding the entry a key record names: every non-empty identity field of the key must match,
// ignoring letter case, paths compared in storage form without trailing separators.
#ifndef FOLDWISE_FOLDERS_DOCUMENTS_IDENTITY_H_
#define FOLDWISE_FOLDERS_DOCUMENTS_IDENTITY_H_

#include <memory>
#include <string>
#include <vector>

#include "dom/dom.h"
#include "engine/guid_index.h"

namespace Foldwise {
namespace documents {

// The five identity fields of a key record.
struct IdentityKey {
  std::string guid;
  std::string documentName;
  std::string documentPath;
  std::string dictationName;
  std::string dictationPath;
};

template <typename Record>
IdentityKey IdentityOf(const Record& record) {
  return {record.guid, record.document_file_name, record.document_file_path,
          record.dictation_file_name, record.dictation_file_path};
}

enum class DocumentPathScope {
  kFolderLevel,  // one document_file_path for the folder, a child of item_list
  kPerItem,      // a document_file_path child in every item
};

// The first element under |itemList| that |key| matches, or null; an all-empty key matches
// nothing. With the folder-level scope only `item` elements are candidates (item_list also holds
// the folder's path); with the per-item scope every element child is.
DomNode FindFirstMatch(DomNode itemList, const IdentityKey& key, DocumentPathScope scope);
// FindFirstMatch with the folder-level scope, trying only |candidates|: items of |itemList| in
// document order, among them every one that can match |key|.
DomNode FindFirstMatchAmong(DomNode itemList, const IdentityKey& key,
                            const std::vector<DomNode>& candidates);
// The items of |itemList| by the guid the match reads (the first guid element's text, letter case
// ignored), for FindFirstMatchAmong: a GuidIndexBuilder.
std::unique_ptr<GuidIndex> IndexByGuid(const DomDocument& document, DomNode itemList);

}  // namespace documents
}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_DOCUMENTS_IDENTITY_H_
