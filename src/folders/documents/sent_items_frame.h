// The frame of every operation of the typist's sent items: the file is made usable, loaded into
// a fresh document, changed and saved before the operation returns.
#ifndef FOLDWISE_FOLDERS_DOCUMENTS_SENT_ITEMS_FRAME_H_
#define FOLDWISE_FOLDERS_DOCUMENTS_SENT_ITEMS_FRAME_H_

#include <memory>
#include <optional>
#include <string>

#include "dom/dom.h"
#include "engine/error_boundary.h"
#include "platform/file_hold.h"

namespace Foldwise {
namespace documents {

constexpr char kSentItemsFile[] = "SentItemsTypistFolder.xml";
constexpr char kSentItemsIdentifier[] = "Quillnote SentItemsTypistFolderXML";

// Writes the empty sent-items file into |directory|; never over a non-empty file that does not
// parse.
void MakeSentItemsFile(const std::string& directory);

class SentItemsFrame {
 public:
  // Which save an operation makes.
  enum class Probe {
    kFirst,      // the file must be free before anything is done; saved directly
    kAtTheSave,  // saved only when the file is free when the change is made
  };

  SentItemsFrame(const std::string& directory, Probe probe);
  ~SentItemsFrame();
  SentItemsFrame(const SentItemsFrame&) = delete;
  SentItemsFrame& operator=(const SentItemsFrame&) = delete;

  // Probes (kFirst), makes the file from the template when it is missing or empty, and loads
  // it. False when the file is busy (held by another writer past the lock timeout), unusable or
  // does not parse: nothing was changed.
  bool Load();
  // /root/item_list, or null.
  DomNode ItemList() const;
  DomDocument& Document() const { return *document_; }
  // Saves as the probe kind says. False only when the file framework raised during a save of
  // an operation that probed first (a failed save raises ComError).
  bool Save();

 private:
  std::string directory_;
  std::string path_;
  Probe probe_;
  std::shared_ptr<DomDocument> document_;
  // The file stays locked from the load to the save, so no other writer's change is lost.
  std::unique_ptr<platform::FileHold> hold_;
  // Entered once the file is to be loaded, left when the operation ends.
  std::optional<ComApartmentScope> apartment_;
};

}  // namespace documents
}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_DOCUMENTS_SENT_ITEMS_FRAME_H_
