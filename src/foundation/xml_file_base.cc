#include "foldwise/env.h"
#include "foldwise/file_path.h"
#include "foldwise/xml_file.h"

namespace Foldwise {

XmlFileBase::XmlFileBase() {
  osVersion.platformId = static_cast<std::uint32_t>(Env::Current()->PlatformId());
}

XmlFileBase::~XmlFileBase() = default;

void XmlFileBase::SetDirectory(const std::string& dir) {
  directory = dir;
  TrimTrailingSeparators(directory);
}

int XmlFileBase::SetFileAccess(const std::string& path) {
  // A network path may need its drive connected before the file can be reached at all; the
  // steps below still use the path as the caller gave it.
  FilePath local(path);
  local.ToLocalPath(1);

  Env* env = Env::Current();
  if (osVersion.platformId == 2 && env->MakeWorldAccessible(path) != 0) return 0;

  FileStatus status;
  if (env->GetFileStatus(path, &status) != 0) return 0;
  if (status.read_only && env->MakeWritable(path) != 0) return 0;
  return env->Access(path, kAccessReadWrite) == 0 ? 1 : 0;
}

}  // namespace Foldwise
