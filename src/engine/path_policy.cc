#include "engine/path_policy.h"

#include "foldwise/location.h"
#include "location/file_path.h"

namespace Foldwise {

std::string StorageForm(const std::string& value) {
  if (value.empty()) return value;
  FilePath path;
  path.SetDirectory(value);
  path.Canonicalize();
  return path.GetPath();
}

std::string ResolverPaths::ToLocal(const std::string& stored) {
  if (stored.empty()) return stored;
  FilePath path;
  path.SetDirectory(stored);
  path.ToLocalPath(0);
  return path.GetPath();
}

std::string SharePaths::ToLocal(const std::string& stored) {
  std::string local;
  SharePathConverter converter;
  converter.ResolveStoredPath(stored, local);
  return local;
}

}  // namespace Foldwise
