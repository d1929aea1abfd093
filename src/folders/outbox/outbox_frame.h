// The frame every outbox operation runs in: the per-thread DOM bracket, the file path in the
// data directory, a template written for a missing or empty file, a document of its own loaded
// from the file, the list the operation works on, and the save at the end when the work changed
// the tree and the file is free. A DOM failure raised by the work leaves the frame as ComError
// before anything is saved, so the file on disk stays as it was.
#ifndef FOLDWISE_FOLDERS_OUTBOX_OUTBOX_FRAME_H_
#define FOLDWISE_FOLDERS_OUTBOX_OUTBOX_FRAME_H_

#include <memory>
#include <string>
#include <utility>

#include "dom/dom.h"
#include "engine/error_boundary.h"
#include "foldwise/env.h"
#include "platform/file_hold.h"
#include "storage/xml_file.h"

namespace Foldwise {
namespace outbox {

constexpr char kItemList[] = "item_list";
constexpr char kServerList[] = "server_info_list";

// The folder object an operation belongs to and the file it keeps.
struct OutboxSite {
  XmlFileBase& folder;
  std::string& directory;  // the folder's own text: the frame may append a separator to it
  const char* file_name;
  const char* identifier;
};

// What the work did to the tree.
enum class Outcome {
  kUnchanged,  // nothing to save
  kChanged,    // save
  kFailed,     // a requested write could not be made: drop the tree unsaved
};

// When the frame makes sure no other process holds the file.
enum class FileClaim {
  kBeforeSaving,   // load freely; save only when the file is free at the end
  kBeforeLoading,  // give up unless the file is free before it is read; then save without asking
};

// The file of one operation and the document it was loaded into.
class OutboxFile {
 public:
  // Completes the directory with a trailing separator, as every operation does first.
  explicit OutboxFile(const OutboxSite& site);

  const std::string& path() const { return path_; }
  // Writes the template over the file when the file is free, and opens it to every user.
  void WriteTemplate();
  // A missing or empty file gets the template first.
  void EnsureExists();
  // Reads and parses the file into a fresh document; false when it does not load.
  bool Load();
  // root/|name| of the loaded document, or null.
  DomNode SelectList(const char* name) const;
  DomDocument& document() { return *document_; }
  void Save();

 private:
  XmlFileBase& folder_;
  const char* identifier_;
  std::string path_;
  std::unique_ptr<DomDocument> document_;
};

// Runs |work| (DomDocument&, DomNode list) -> Outcome on root/|list_name| of the site's file.
// True when the work ran and did not fail; false when the frame ended before it (unparsable
// file, missing list, busy file under kBeforeLoading) or the work failed.
template <typename Work>
bool RunFrame(const OutboxSite& site, FileClaim claim, const char* list_name, Work&& work) {
  ComApartmentScope apartment;
  OutboxFile file(site);
  // Locked from the load to the save, so no other writer's change is lost in between. A file
  // another holder keeps past the lock timeout is busy: kBeforeLoading gives up, kBeforeSaving
  // works on the tree and saves nothing.
  const platform::FileHold hold(Env::Current(), file.path());
  const bool held = hold.error() == 0;
  if (claim == FileClaim::kBeforeLoading && (!held || !IsFileFree(file.path()))) return false;
  file.EnsureExists();
  if (!file.Load()) return false;
  const DomNode list = file.SelectList(list_name);
  if (!list) return false;
  // A DOM failure of the work leaves here, before anything is saved.
  const Outcome outcome = Guard<ComErrorReachesHost>(
      Outcome::kFailed, [&] { return std::forward<Work>(work)(file.document(), list); });
  if (outcome == Outcome::kFailed) return false;
  if (outcome == Outcome::kChanged && held &&
      (claim == FileClaim::kBeforeLoading || IsFileFree(file.path()))) {
    file.Save();
  }
  return true;
}

// MakeXML: the template, written whatever the file held.
void WriteTemplate(const OutboxSite& site);

}  // namespace outbox
}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_OUTBOX_OUTBOX_FRAME_H_
