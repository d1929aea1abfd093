// Dispatch from a record type to the writer and reader of its `item` element.
#ifndef FOLDWISE_CACHED_FOLDERS_RECORD_SERIALIZERS_H_
#define FOLDWISE_CACHED_FOLDERS_RECORD_SERIALIZERS_H_

#include <string>

#include "foldwise/dom.h"

namespace Foldwise {

class RecordCursor;

struct RecordSerializer {
  int recordType;
  // A new `item` element built from records[index]; its children at |depth| + 1. Raises
  // ComError.
  DomNode (*write)(RecordCursor& cursor, const void* records, int index, int depth);
  // Empties records[index] and fills it from |item|. Raises ComError.
  int (*read)(RecordCursor& cursor, DomNode item, void* records, int index);
  // Whether the file keeps one dictation_file_path for all its items under item_list instead
  // of one per item.
  bool folderLevelPath;
};

// The serializer of |recordType|, or null when there is none.
const RecordSerializer* FindSerializer(int recordType);
// Whether item files of |kind| carry the folder-level dictation_file_path.
bool HasFolderLevelPath(int kind);

// A stored path as it is written: directory form, converted to its storage form.
std::string StorageForm(const std::string& value);
// A stored path as it is handed back: converted to a path usable on this machine, without
// connecting drives; left as it was when the resolver cannot map it.
std::string LocalForm(const std::string& stored);

}  // namespace Foldwise

#endif  // FOLDWISE_CACHED_FOLDERS_RECORD_SERIALIZERS_H_
