#include "foldwise/xml_file_base.h"

#include "base/path_text.h"
#include "foldwise/env.h"
#include "location/file_path.h"

namespace Foldwise {

XmlFileBase::XmlFileBase() = default;
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

  // Every system this runs on has per-file permissions, so the step that opens the file to
  // every user always runs.
  Env* env = Env::Current();
  if (env->MakeWorldAccessible(path) != 0) return 0;

  FileStatus status;
  if (env->GetFileStatus(path, &status) != 0) return 0;
  if (status.read_only && env->MakeWritable(path) != 0) return 0;
  return env->Access(path, kAccessReadWrite) == 0 ? 1 : 0;
}

}  // namespace Foldwise
