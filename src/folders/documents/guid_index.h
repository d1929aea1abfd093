// The items of a documents folder's held document by guid, for the keyed operations of the host's
// OpenXML ... CloseXML bracket: without it every change of a bracket walks the items up to its
// entry, so a bracket of many changes walks the file once per change.
#ifndef FOLDWISE_FOLDERS_DOCUMENTS_GUID_INDEX_H_
#define FOLDWISE_FOLDERS_DOCUMENTS_GUID_INDEX_H_

#include <memory>
#include <string>
#include <vector>

#include "dom/dom.h"

namespace Foldwise {
namespace documents {

// The `item` elements under |itemList| that may have the guid |guid| ignoring letter case, in
// document order: every item a key with that guid can match, and perhaps a few it cannot, which
// the caller's match turns down. Taken from the index of |document|,
// which one walk builds on first use and which lasts until DropGuidIndex or the document's end.
std::vector<DomNode> ItemsWithGuid(const std::shared_ptr<DomDocument>& document, DomNode itemList,
                                   const std::string& guid);

// Forgets the index of |document|. Called before anything that adds or removes an item or may
// change a guid, so that no later lookup trusts an index the document has outgrown.
void DropGuidIndex(const DomDocument* document);

}  // namespace documents
}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_DOCUMENTS_GUID_INDEX_H_
