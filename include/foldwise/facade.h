// The one object a host creates: an instance of every folder of a data directory, the directory
// handed to all of them in one call, and the question which folder files a directory holds.
//
// Thread safety: create and destroy a CFoldwise on the same thread and outside any cache bracket
// (foldwise/xml_document.h). Its folders follow the rules of their own headers. Destroying it
// ends the life of the network path resolver's single instance for the whole process, so no
// other thread may be inside the library meanwhile.
#ifndef FOLDWISE_FACADE_H_
#define FOLDWISE_FACADE_H_

#include <string>

#include "foldwise/cached_folders.h"
#include "foldwise/documents_folders.h"
#include "foldwise/export.h"
#include "foldwise/folder_attributes.h"
#include "foldwise/outbox_folders.h"

namespace Foldwise {

// The bits ExistsXML sets: one per folder, either file of a plain/encrypted pair sets its bit.
constexpr unsigned long kVoiceFolderBit = 0x01;
constexpr unsigned long kDocumentsFolderBit = 0x02;
constexpr unsigned long kOutBoxFolderBit = 0x04;
constexpr unsigned long kSentItemsFolderBit = 0x08;
constexpr unsigned long kDocumentsTypistFolderBit = 0x10;
constexpr unsigned long kInBoxTypistFolderBit = 0x20;
constexpr unsigned long kOutBoxTypistFolderBit = 0x40;
constexpr unsigned long kSentItemsTypistFolderBit = 0x80;

class FOLDWISE_EXPORT CFoldwise {
 public:
  // Every folder in its default state, no directory yet; opens the thread's COM apartment
  // unless a cache bracket is open.
  CFoldwise();
  // Closes the apartment and discards the network path resolver's single instance (the next
  // user of the resolver makes a new one); then the folders go, in reverse order.
  virtual ~CFoldwise();
  CFoldwise(const CFoldwise&) = delete;
  CFoldwise& operator=(const CFoldwise&) = delete;

  // Stores |path| in dataPath as given and sets it, without trailing separators, as the
  // directory of every folder. Reads, creates and examines nothing on disk.
  void SetXmlFalePath(std::string path);

  // Which folders have a file in |dir| (the k*FolderBit values). A file that exists but cannot
  // be examined still counts; FolderAttr.xml is not looked at. 0 when |dir| is null, empty or
  // not an existing directory. Opens no file.
  static unsigned long ExistsXML(const char* dir);

  // The folders, public for the host to reach; constructed in this order.
  std::string dataPath;  // the directory exactly as last given, separators and all
  COutBoxFolderXML outBox;
  CSentItemsFolderXML sentItems;
  CDocumentsFolderXML documents;
  CVoiceFolderXML voice;
  COutBoxTypistFolderXML outBoxTypist;
  CSentItemsTypistFolderXML sentItemsTypist;
  CDocumentsTypistFolderXML documentsTypist;
  CInBoxTypistFolderXML inBoxTypist;
  CFolderAttrXML folderAttr;
};

}  // namespace Foldwise

#endif  // FOLDWISE_FACADE_H_
