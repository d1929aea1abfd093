// The one save routine of every folder file.
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <string>

#include "foldwise/env.h"

namespace Foldwise {
namespace {

std::string DirectoryOf(const std::string& path) {
  const std::string::size_type slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The pid keeps two processes saving the same folder apart; the counter two threads.
std::string TemporaryNameFor(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return path + "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
}

}  // namespace

int WriteFileAtomically(Env* env, const std::string& path, std::string_view data) {
  // Another process probing the file for exclusive use sees it busy while we replace it. A
  // missing file has nothing to lock; a lock that cannot be had is not a reason to lose the save.
  std::unique_ptr<FileLock> lock;
  (void)env->LockFile(path, /*exclusive=*/true, /*wait=*/true, &lock);

  const std::string temporary = TemporaryNameFor(path);
  std::unique_ptr<WritableFile> file;
  int error = env->NewWritableFile(temporary, &file);
  if (error != 0) return error;
  error = file->Append(data);
  if (error == 0) error = file->Sync();
  const int close_error = file->Close();
  if (error == 0) error = close_error;
  if (error == 0) error = env->RenameFile(temporary, path);
  if (error != 0) {
    env->RemoveFile(temporary);
    return error;
  }
  // The rename is done and the new content is what every reader sees from now on; a directory
  // that cannot be flushed (some file systems refuse) cannot undo that, so it is not a failure.
  (void)env->SyncDirectory(DirectoryOf(path));
  return 0;
}

}  // namespace Foldwise
