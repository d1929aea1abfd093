// The open/close bracket of the two documents folders: a document held from OpenXML to
// CloseXML, and the rule by which an operation called on a closed folder opens it, and closes it
// again, itself.
#ifndef FOLDWISE_FOLDERS_DOCUMENTS_HELD_FOLDER_H_
#define FOLDWISE_FOLDERS_DOCUMENTS_HELD_FOLDER_H_

#include <memory>
#include <string>

#include "dom/dom.h"
#include "platform/file_hold.h"

namespace Foldwise {
namespace documents {

// What tells the two documents folders' files apart.
struct FolderShape {
  const char* fileName;
  const char* identifier;
};

// A view of one folder object's state: the data directory, the held document, the open flag
// and the file path. Cheap; made anew for every operation.
class HeldFolder {
 public:
  HeldFolder(const std::string& directory, std::shared_ptr<DomDocument>& document, bool& open,
             std::string& filePath, std::shared_ptr<platform::FileHold>& hold,
             const FolderShape& shape)
      : directory_(directory),
        document_(document),
        open_(open),
        filePath_(filePath),
        hold_(hold),
        shape_(shape) {}

  // Writes the empty folder file; never over a non-empty file that does not parse.
  void Make();
  // 0 opened now, 1 already open, -1 when the file cannot be locked within the lock timeout,
  // cannot be made usable or does not parse.
  int Open();
  // When open: saves when |save| and the file is free, then closes. A failed save raises
  // ComError and the folder stays open.
  void Close(int save);

  bool IsOpen() const { return open_; }
  const std::string& Directory() const { return directory_; }
  DomDocument& Document() const { return *document_; }
  const std::shared_ptr<DomDocument>& DocumentPointer() const { return document_; }
  // /root/item_list of the held document, or null when either is missing.
  DomNode ItemList() const;

 private:
  const std::string& directory_;
  std::shared_ptr<DomDocument>& document_;
  bool& open_;
  std::string& filePath_;
  // The file's lock from Open to Close: no other writer can change the file between the load
  // and the save, or its change would be lost to the save.
  std::shared_ptr<platform::FileHold>& hold_;
  const FolderShape& shape_;
};

// One operation under the opened-here rule: opens a closed folder, and closes it again when the
// operation ends, with saving only through Commit. An operation that raises leaves a folder it
// opened closed and unsaved; a folder the host holds open stays open.
class OpenedHere {
 public:
  explicit OpenedHere(HeldFolder& folder);
  ~OpenedHere();
  OpenedHere(const OpenedHere&) = delete;
  OpenedHere& operator=(const OpenedHere&) = delete;

  // False when the folder could not be opened: the operation has no effect.
  bool Usable() const { return usable_; }
  // The change is made: closes with saving when this operation opened the folder.
  void Commit();

 private:
  HeldFolder& folder_;
  bool usable_ = false;
  bool openedHere_ = false;
};

}  // namespace documents
}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_DOCUMENTS_HELD_FOLDER_H_
