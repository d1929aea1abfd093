// The inbox typist folder: its schema, instantiated on the shared cached-folder engine.
#include "folders/cached/cached_item_folder.h"
#include "folders/cached/inbox_typist_schema.h"

namespace Foldwise {

template class CachedItemFolder<InBoxTypistFolderRecords>;

}  // namespace Foldwise
