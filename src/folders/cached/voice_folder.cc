// The voice folder: its schema, instantiated on the shared cached-folder engine.
#include "folders/cached/cached_item_folder.h"
#include "folders/cached/voice_schema.h"

namespace Foldwise {

template class CachedItemFolder<VoiceFolderRecords>;

}  // namespace Foldwise
