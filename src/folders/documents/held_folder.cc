#include "folders/documents/held_folder.h"

#include <string>

#include "dom/dom_scan.h"
#include "folders/documents/tree_text.h"
#include "foldwise/env.h"
#include "foldwise/errors.h"
#include "storage/xml_file.h"

namespace Foldwise {
namespace documents {

void HeldFolder::Make() {
  ComApartmentScope apartment;
  const std::string folderPath = SharePaths::ToStored(directory_);
  std::shared_ptr<DomDocument> doc = NewFolderTemplate(shape_.identifier, &folderPath);
  const std::string path = FolderFilePath(directory_, shape_.fileName);
  if (!MayReplaceWithTemplate(path) || !IsFileFree(path)) return;
  doc->Save(path);
  // The access step needs nothing of the folder object but the platform it records.
  XmlFileBase access;
  (void)access.SetFileAccess(path);
}

int HeldFolder::Open() {
  if (open_) return 1;
  // The opening runs in a bracket of its own; only an open that succeeds enters the one held
  // until Close.
  ComApartmentScope apartment;
  // A document of its own: the one held until now may be shared with a copy of this object.
  document_ = DomDocument::Create();
  filePath_ = FolderFilePath(directory_, shape_.fileName);
  auto hold = std::make_shared<platform::FileHold>(Env::Current(), filePath_);
  if (hold->error() != 0) return -1;
  if (NeedsTemplate(filePath_)) Make();
  if (!document_->Load(filePath_)) return -1;
  hold_ = std::move(hold);
  open_ = true;
  EnterComApartment();
  return 0;
}

void HeldFolder::Close(int save) {
  if (!open_) return;
  if (save != 0 && IsFileFree(filePath_)) {
    try {
      document_->Save(filePath_);
    } catch (const FileError&) {
      // The file framework's own failure is not the caller's business; a failed save is.
    }
  }
  LeaveComApartment();
  open_ = false;
  filePath_.clear();
  hold_.reset();
}

DomNode HeldFolder::ItemList() const {
  if (!document_) return DomNode();
  const DomNode root = FirstChildElement(document_->AsNode(), "root");
  return root ? FirstChildElement(root, "item_list") : DomNode();
}

OpenedHere::OpenedHere(HeldFolder& folder) : folder_(folder) {
  if (folder_.IsOpen()) {
    usable_ = true;
    return;
  }
  usable_ = folder_.Open() >= 0;
  openedHere_ = usable_;
}

OpenedHere::~OpenedHere() {
  if (openedHere_) folder_.Close(0);
}

void OpenedHere::Commit() {
  if (!openedHere_) return;
  folder_.Close(1);
  openedHere_ = false;
}

}  // namespace documents
}  // namespace Foldwise
