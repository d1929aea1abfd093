// What each folder of the cached family declares about itself, beside the field lists of its
// records (ItemSchema and DeliverySchema, engine/item_codec.h).
#ifndef FOLDWISE_FOLDERS_CACHED_CACHED_FOLDER_SCHEMA_H_
#define FOLDWISE_FOLDERS_CACHED_CACHED_FOLDER_SCHEMA_H_

#include <iterator>

#include "engine/error_boundary.h"
#include "engine/item_codec.h"
#include "engine/item_file.h"
#include "engine/path_policy.h"
#include "foldwise/cached_folders.h"

namespace Foldwise {

// Specialised by each folder for its record types (foldwise/cached_folders.h):
//   static constexpr ItemFileLayout kPlainFile, kEncryptedFile;
//   static constexpr bool kListingOpensCacheBracket;  // list-form listing in a bracket of its own
//   using Errors = FailureBecomesZero;                 // engine/error_boundary.h
//   using Paths = ResolverPaths;                       // engine/path_policy.h
template <typename Records>
struct CachedFolderSchema;

}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_CACHED_CACHED_FOLDER_SCHEMA_H_
