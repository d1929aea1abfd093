#include "foldwise/facade.h"

#include <utility>

#include "foldwise/location.h"
#include "storage/xml_file.h"

namespace Foldwise {

CFoldwise::CFoldwise() { EnterComApartment(); }

CFoldwise::~CFoldwise() {
  // folderAttr holds no document to close here: it makes its file object for each call and
  // drops it before the call returns.
  LeaveComApartment();
  NetworkPathResolver::DiscardInstance();
}

void CFoldwise::SetXmlFalePath(std::string path) {
  dataPath = std::move(path);
  // The order is the one hosts have always seen; no step touches the disk, but the cached
  // folders may ask the resolver for the local form of a network directory.
  voice.SetXmlFalePath(dataPath.c_str());
  outBox.SetDirectory(dataPath);
  sentItems.SetXmlFalePath(dataPath.c_str());
  documents.SetDirectory(dataPath);
  outBoxTypist.SetDirectory(dataPath);
  sentItemsTypist.SetDirectory(dataPath);
  documentsTypist.SetDirectory(dataPath);
  inBoxTypist.SetXmlFalePath(dataPath.c_str());
  folderAttr.SetDirectory(dataPath);
}

}  // namespace Foldwise
