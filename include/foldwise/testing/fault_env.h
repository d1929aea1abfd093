// An Env for tests that fails on demand and counts what it is asked to do.
//
//   Foldwise::testing::FaultEnv env;
//   Foldwise::ScopedEnv use(&env);
//   env.fail_rename = true;  // every save now fails at its rename
//
// Thread safety: the fault flags are plain fields, set while no other thread uses the Env; the
// counters may be read while other threads call it.
#ifndef FOLDWISE_TESTING_FAULT_ENV_H_
#define FOLDWISE_TESTING_FAULT_ENV_H_

#include <atomic>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>

#include "foldwise/env.h"

namespace Foldwise {
namespace testing {

class FaultEnv : public EnvWrapper {
 public:
  explicit FaultEnv(Env* target = Env::Default()) : EnvWrapper(target) {}

  // Faults. Each makes the named step report an error, exactly as the disk would.
  bool fail_read = false;             // ReadFile: EIO
  bool fail_new_file = false;         // NewWritableFile: EACCES
  bool fail_write = false;            // Append: EIO, after nothing was written
  std::int64_t disk_full_after = -1;  // Append: ENOSPC once this many bytes went out (-1: never)
  bool fail_sync = false;             // WritableFile::Sync: EIO
  bool fail_rename = false;           // RenameFile: EXDEV
  bool fail_remove = false;           // RemoveFile: EACCES
  bool file_busy = false;             // ProbeExclusiveOpen and exclusive LockFile: EWOULDBLOCK
                                      // (opened for writing by another process)
  bool fail_access_rights = false;    // MakeWorldAccessible: EPERM
  bool fail_sync_directory = false;   // SyncDirectory: EIO
  bool read_only_directory = false;   // no new names: creating a file that does not exist yet,
                                      // renaming and removing fail with EACCES
  bool lock_busy = false;             // LockFile and locked reads: EWOULDBLOCK (held elsewhere)

  // A fixed clock when non-zero.
  std::time_t fixed_now = 0;

  // Counts of calls made (reads of whole files, files created for writing, removals, file and
  // directory flushes, exclusive locks granted) and of calls a fault above made fail.
  std::atomic<int> reads{0};
  std::atomic<int> files_written{0};
  std::atomic<int> removals{0};
  std::atomic<int> syncs{0};
  std::atomic<int> directory_syncs{0};
  std::atomic<int> exclusive_locks{0};
  std::atomic<int> faults_injected{0};
  // Existence and status checks (GetFileStatus and Access), locks granted of either kind,
  // exclusive-open probes: the per-operation work a folder call should do once, not per entry.
  std::atomic<int> status_checks{0};
  std::atomic<int> locks{0};
  std::atomic<int> probes{0};

  int GetFileStatus(const std::string& path, FileStatus* status) override;
  int Access(const std::string& path, int mode) override;
  int ReadFile(const std::string& path, std::string* contents, int lock_timeout_ms) override;
  int NewWritableFile(const std::string& path, std::unique_ptr<WritableFile>* file) override;
  int RenameFile(const std::string& from, const std::string& to) override;
  int RemoveFile(const std::string& path) override;
  int SyncDirectory(const std::string& dir) override;
  int LockFile(const std::string& path, bool exclusive, int timeout_ms,
               std::unique_ptr<FileLock>* lock) override;
  int ProbeExclusiveOpen(const std::string& path) override;
  int MakeWorldAccessible(const std::string& path) override;
  std::time_t Now() override;
};

}  // namespace testing
}  // namespace Foldwise

#endif  // FOLDWISE_TESTING_FAULT_ENV_H_
