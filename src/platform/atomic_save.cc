// The one save routine of every folder file.
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <string>

#include "foldwise/env.h"
#include "platform/file_hold.h"

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

int WriteAndSync(WritableFile* file, std::string_view data) {
  int error = file->Append(data);
  if (error == 0) error = file->Sync();
  const int close_error = file->Close();
  return error != 0 ? error : close_error;
}

}  // namespace

int WriteFileAtomically(Env* env, const std::string& path, std::string_view data) {
  // Readers and writers of other processes wait while the file is replaced, and another
  // process's IsFileFree sees it busy. A change that loaded the file holds the lock already.
  std::unique_ptr<FileLock>* held = platform::FileHold::HeldLock(path);
  std::unique_ptr<FileLock> own;
  if (held == nullptr) {
    const int error = env->LockFile(path, /*exclusive=*/true, env->LockTimeoutMs(), &own);
    if (error != 0) return error;
  }

  const std::string temporary = TemporaryNameFor(path);
  std::unique_ptr<WritableFile> file;
  int error = env->NewWritableFile(temporary, &file);
  if (error != 0) return error;
  error = WriteAndSync(file.get(), data);
  // A holder keeps the file locked past the rename: the lock moves to the new file before it
  // becomes visible, so nobody can slip in between this save and the end of the hold.
  std::unique_ptr<FileLock> successor;
  if (error == 0 && held != nullptr) error = env->LockFile(temporary, true, 0, &successor);
  if (error == 0) error = env->RenameFile(temporary, path);
  if (error != 0) {
    env->RemoveFile(temporary);
    return error;
  }
  if (held != nullptr) *held = std::move(successor);
  // The rename is done and the new content is what every reader sees from now on; a directory
  // that cannot be flushed (some file systems refuse) cannot undo that, so it is not a failure.
  (void)env->SyncDirectory(DirectoryOf(path));
  return 0;
}

}  // namespace Foldwise
