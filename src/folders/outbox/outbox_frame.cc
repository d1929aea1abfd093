#include "folders/outbox/outbox_frame.h"

#include "dom/dom_scan.h"
#include "folders/outbox/outbox_nodes.h"
#include "foldwise/errors.h"
#include "location/file_path.h"
#include "storage/damaged_file.h"

namespace Foldwise {
namespace outbox {

OutboxFile::OutboxFile(const OutboxSite& site)
    : folder_(site.folder), identifier_(site.identifier) {
  if (site.directory.empty() || !IsPathSeparator(site.directory.back())) {
    site.directory.push_back(kNativeSeparator);
  }
  path_ = site.directory + site.file_name;
}

void OutboxFile::WriteTemplate() {
  DomDocument doc;
  DomNode top = doc.AsNode();
  top.AppendChild(doc.CreateProcessingInstruction("xml", "version='1.0'"));
  top.AppendChild(doc.CreateComment(identifier_));
  DomNode root = top.AppendChild(doc.CreateElement("root"));
  AppendElement(doc, root, kServerList, kDepthListInRoot);
  AppendElement(doc, root, kItemList, kDepthListInRoot);
  AppendIndent(doc, root, 0);
  // A file that does not parse is set aside, never written over.
  if (!IsFileFree(path_) || !MakeWayForNewFile(path_)) return;
  doc.Save(path_);
  folder_.SetFileAccess(path_);
}

void OutboxFile::EnsureExists() {
  if (!HasContent(path_)) WriteTemplate();
}

bool OutboxFile::Load() {
  document_ = std::make_unique<DomDocument>();
  return document_->Load(path_);
}

DomNode OutboxFile::SelectList(const char* name) const {
  const DomNode root = FirstChildElement(document_->AsNode(), "root");
  return root ? FirstChildElement(root, name) : DomNode();
}

void OutboxFile::Save() {
  try {
    document_->Save(path_);
  } catch (const FileError&) {
    // A file-status failure while saving is not the host's concern: the outbox never reports
    // a save that did not happen. A failed write is a DOM failure and does reach the host.
  }
}

void WriteTemplate(const OutboxSite& site) {
  ComApartmentScope apartment;
  OutboxFile(site).WriteTemplate();
}

}  // namespace outbox
}  // namespace Foldwise
