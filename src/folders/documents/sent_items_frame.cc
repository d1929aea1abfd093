#include "folders/documents/sent_items_frame.h"

#include "dom/dom_scan.h"
#include "folders/documents/tree_text.h"
#include "foldwise/env.h"
#include "foldwise/errors.h"
#include "storage/xml_file.h"

namespace Foldwise {
namespace documents {

void MakeSentItemsFile(const std::string& directory) {
  ComApartmentScope apartment;
  std::shared_ptr<DomDocument> doc = NewFolderTemplate(kSentItemsIdentifier, nullptr);
  const std::string path = FolderFilePath(directory, kSentItemsFile);
  if (!MayReplaceWithTemplate(path) || !IsFileFree(path)) return;
  try {
    doc->Save(path);
  } catch (const FileError&) {
    // The framework's own failure ends the write quietly; a failed save raises.
  }
}

SentItemsFrame::SentItemsFrame(const std::string& directory, Probe probe)
    : directory_(directory), path_(FolderFilePath(directory, kSentItemsFile)), probe_(probe) {}

SentItemsFrame::~SentItemsFrame() = default;

bool SentItemsFrame::Load() {
  hold_ = std::make_unique<platform::FileHold>(Env::Current(), path_);
  if (hold_->error() != 0) return false;
  if (probe_ == Probe::kFirst && !IsFileFree(path_)) return false;
  if (NeedsTemplate(path_)) MakeSentItemsFile(directory_);
  apartment_.emplace();
  document_ = DomDocument::Create();
  return document_->Load(path_);
}

DomNode SentItemsFrame::ItemList() const {
  const DomNode root = FirstChildElement(document_->AsNode(), "root");
  return root ? FirstChildElement(root, "item_list") : DomNode();
}

bool SentItemsFrame::Save() {
  if (probe_ == Probe::kAtTheSave && !IsFileFree(path_)) return true;
  try {
    document_->Save(path_);
  } catch (const FileError&) {
    // Only the operations that probe first report it; for the others the change counts as made.
    return probe_ == Probe::kAtTheSave;
  }
  return true;
}

}  // namespace documents
}  // namespace Foldwise
