// Locks on folder files for the Win32 Env, and the rename that replaces a locked file.
//
// A lock is a LockFileEx lock on one byte far beyond any content, on a handle that shares
// everything: Windows byte-range locks are mandatory, and a lock over the content would keep
// this process's own reads out while it holds the file. An exclusive open with no sharing (the
// IsFileFree probe, and programs that open the file that way) still finds the file busy.
//
// Windows before the POSIX rename semantics (and Wine) refuses to rename over a file that any
// handle holds open, so a save cannot keep its lock on the old file across the rename the way
// the POSIX Env does. Instead the rename closes this process's own handles on the target first
// and marks the file as being replaced until the rename is done: a thread of this process that
// takes the lock meanwhile sees the mark and waits for the new file. Another process can slip
// in between the close and the rename, and then the save waits for it like for any other
// holder (see docs/design.md).
#ifndef FOLDWISE_PLATFORM_WIN32_WIN32_LOCKS_H_
#define FOLDWISE_PLATFORM_WIN32_WIN32_LOCKS_H_

#include <chrono>
#include <memory>
#include <string>

#include "foldwise/env.h"
#include "platform/win32/win32_text.h"

namespace Foldwise {
namespace platform {

using Clock = std::chrono::steady_clock;

// Takes the lock on |path| as Env::LockFile promises it, waiting until |deadline|.
int LockWin32File(const std::wstring& path, bool exclusive, Clock::time_point deadline,
                  std::unique_ptr<FileLock>* lock);
// Opens |path| for reading under a shared lock taken before |deadline|; 0 and the handle in
// |handle|, or errno. The lock goes with the handle.
int OpenLockedForRead(const std::wstring& path, Clock::time_point deadline, ScopedHandle* handle);
// Renames |from| over |to|, handing over this process's own locks on |to| as described above.
int ReplaceWin32File(const std::wstring& from, const std::wstring& to);

}  // namespace platform
}  // namespace Foldwise

#endif  // FOLDWISE_PLATFORM_WIN32_WIN32_LOCKS_H_
