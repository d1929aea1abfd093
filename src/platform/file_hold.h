// An exclusive lock on a folder file kept for the whole of a change, from its load to its save.
//
// Each change reads the file, edits its copy and renames the new file over the old one. Two
// writers that both loaded before either saved would otherwise each rename their own copy, and
// the later one would silently drop the earlier one's change. Holding the lock across the step
// makes every other writer, in another process or on another thread, wait (up to the lock
// timeout of the Env) and then load the changed file.
//
// Holds are counted per thread and path: a change inside a cache bracket that already holds the
// file takes no second lock. While a thread holds a file, its loads read it without a lock and
// its saves go through the held lock, which the save moves onto the new file before the rename,
// so the file stays locked until the last hold goes.
#ifndef FOLDWISE_PLATFORM_FILE_HOLD_H_
#define FOLDWISE_PLATFORM_FILE_HOLD_H_

#include <memory>
#include <string>

#include "foldwise/env.h"

namespace Foldwise {
namespace platform {

class FileHold {
 public:
  // Locks |path| exclusively through |env| (creating it empty when missing) unless this thread
  // holds it already; error() says whether it worked.
  FileHold(Env* env, const std::string& path);
  ~FileHold();
  FileHold(const FileHold&) = delete;
  FileHold& operator=(const FileHold&) = delete;

  // 0 while the file is held; otherwise the errno value of the failed lock (EWOULDBLOCK when
  // another holder kept it longer than the timeout).
  int error() const { return error_; }

  // The lock this thread holds on |path|, or null. The save replaces it with the lock on the new
  // file.
  static std::unique_ptr<FileLock>* HeldLock(const std::string& path);

 private:
  std::string path_;
  int error_ = 0;
};

// Reads |path| whole: without a lock when this thread holds it, else under a shared lock that
// waits for a writer as long as the Env's lock timeout. 0 or errno.
int ReadFileForLoad(Env* env, const std::string& path, std::string* contents);

}  // namespace platform
}  // namespace Foldwise

#endif  // FOLDWISE_PLATFORM_FILE_HOLD_H_
