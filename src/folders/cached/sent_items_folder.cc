// The sent items folder: its schema, instantiated on the shared cached-folder engine.
#include "folders/cached/cached_item_folder.h"
#include "folders/cached/sent_items_schema.h"

namespace Foldwise {

template class CachedItemFolder<SentItemsFolderRecords>;

}  // namespace Foldwise
