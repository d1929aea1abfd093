// The checks made on a folder file before it is touched, and the per-thread DOM bracket.
#include <string>

#include "foldwise/env.h"
#include "foldwise/xml_document.h"
#include "platform/file_hold.h"
#include "storage/xml_file.h"

namespace Foldwise {

int IsFileFree(const std::string& path) {
  std::string target = path;
  if (!target.empty() && IsPathSeparator(target.back())) target.pop_back();
  // A file this thread holds for its change is free to it: the change itself is the holder.
  if (platform::FileHold::HeldLock(target) != nullptr) return 1;
  Env* env = Env::Current();
  // Twice, as the exclusive open it stands for: a file another process holds is busy both times.
  if (env->ProbeExclusiveOpen(target) != 0) return 0;
  return env->ProbeExclusiveOpen(target) == 0 ? 1 : 0;
}

int HasContent(const std::string& path) {
  FileStatus status;
  const int error = Env::Current()->GetFileStatus(path, &status);
  if (error == 0) return status.size != 0 ? 1 : 0;
  return error == kErrorFileNotFound ? 0 : 1;
}

void EnterComApartment() {
  if (CXmlDocument::IsCacheActive()) return;
  // The DOM keeps no per-thread state, so there is nothing to initialise.
}

void LeaveComApartment() {
  if (CXmlDocument::IsCacheActive()) return;
}

}  // namespace Foldwise
