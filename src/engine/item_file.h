// One item file of the item-file engine: a flat list of `item` elements under /root/item_list.
#ifndef FOLDWISE_ENGINE_ITEM_FILE_H_
#define FOLDWISE_ENGINE_ITEM_FILE_H_

#include <string>

#include "engine/error_boundary.h"
#include "engine/key_match.h"
#include "engine/record_cursor.h"
#include "storage/xml_file.h"

namespace Foldwise {

// What a family's schema says about one of its item files.
struct ItemFileLayout {
  const char* fileName;    // the bare file name
  const char* identifier;  // the comment of a new file
  // Whether the file keeps one dictation_file_path for all its items under item_list.
  bool folderLevelPath;
};

// Every operation loads the file (or takes the cached document inside a cache bracket), works
// on it, saves it when it changed and closes it; no document is held between operations. DOM
// failures are handled by |Errors| (engine/error_boundary.h): under FailureBecomesZero they turn
// into 0, or a count of 0. Instantiated for both policies in item_file.cc.
template <typename Errors>
class ItemFile : public XmlDocumentFile {
 public:
  explicit ItemFile(const ItemFileLayout& layout);
  ~ItemFile() override;
  ItemFile(const ItemFile&) = default;
  ItemFile& operator=(const ItemFile&) = default;

  // Puts the file into |dir|; a network directory is turned into the local path the resolver
  // finds for it (connecting allowed). Called again, keeps the file name and swaps the directory.
  void SetXmlFalePath(const std::string& dir);
  // 1 when the cache bracket holds the file's document; otherwise HasContent of the path, so 1
  // also when its status cannot be read for another reason than the file's absence.
  int Exists();
  // Items matching |key| (all items when |key| is null); 0 on any failure.
  int CountItems(const KeyMatch* key);
  // For a listing, which counts the items and then reads them from one parse: opens the file (the
  // cached document inside a bracket) and leaves it open until CloseDocument. The number of its
  // items, or -1 when it cannot be opened. The caller holds a CacheTurn meanwhile.
  int OpenForListing();
  // Reads every item of the document OpenForListing left open into |cursor|, in file order; 0 at
  // the first item that cannot be read (the records read before stay filled).
  int ReadOpened(RecordCursor& cursor);
  // Reads the first item matching |key| into |out|; 0 when none matches.
  int ReadFirstMatch(const KeyMatch& key, RecordCursor& out);
  // Rewrites the file from every remaining record of |cursor|; no record deletes the file.
  int WriteAll(RecordCursor& cursor);
  // Appends the current record of |cursor| as a new item.
  int AppendItem(RecordCursor& cursor);
  // Folds the current record of |values| into every item matching |key|. 1 also when nothing
  // matches (then nothing is saved).
  int ChangeItems(const KeyMatch& key, RecordCursor& values);
  // Removes every item matching |key|; the file is deleted when none is left. 1 also when
  // nothing matches (then nothing is saved).
  int DeleteItems(const KeyMatch& key);

 protected:
  int MakeTemplate() override;
  int OnAutoDelete() override;

 private:
  std::string path;
  std::string identifier;
  bool folderLevelPath;
};

// The item file of the cached folders, which report every failure by their result.
using FolderFile = ItemFile<FailureBecomesZero>;

}  // namespace Foldwise

#endif  // FOLDWISE_ENGINE_ITEM_FILE_H_
