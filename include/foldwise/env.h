// The platform seen by the library: files, locks, clock and locale formatting.
//
// Every file-system call the library makes goes through the Env in force. The platform's own
// (POSIX, or Win32 on Windows) is in force unless a ScopedEnv installs another one (a test fake, or
// a host's own), so tests break exactly the call they mean to break and touch no process-wide state
// by hand.
//
// Thread safety: the Env in force serves every thread that calls the library, so an Env must
// accept concurrent calls (the POSIX one does; a host's own must too). Installing one with
// ScopedEnv is set-up work: no other thread may be inside the library meanwhile.
#ifndef FOLDWISE_ENV_H_
#define FOLDWISE_ENV_H_

#include <atomic>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foldwise/export.h"

namespace Foldwise {

// System error numbers as the library reports them. File status reads use the Windows numbering
// the folders rely on (2 file not found, 3 path not found); everything else is an errno value.
constexpr int kErrorFileNotFound = 2;
constexpr int kErrorPathNotFound = 3;

struct FileStatus {
  std::uint64_t size = 0;
  bool read_only = false;  // nobody may write the file through its permission bits
};

// Mode bits for Env::Access, as the C runtime's _access takes them.
constexpr int kAccessExists = 0;
constexpr int kAccessWrite = 2;
constexpr int kAccessRead = 4;
constexpr int kAccessReadWrite = 6;

// A file being written. Each call returns 0 or an errno value.
class FOLDWISE_EXPORT WritableFile {
 public:
  virtual ~WritableFile() = default;
  virtual int Append(std::string_view data) = 0;
  virtual int Sync() = 0;  // data on stable storage before it returns
  virtual int Close() = 0;
};

// An advisory lock held until destroyed.
class FOLDWISE_EXPORT FileLock {
 public:
  virtual ~FileLock() = default;
};

// A lock timeout that reads or writes without taking a lock at all.
constexpr int kNoLock = -1;
// How long a lock held elsewhere is waited for by default before the operation fails.
constexpr int kDefaultLockTimeoutMs = 5000;

class FOLDWISE_EXPORT Env {
 public:
  virtual ~Env() = default;

  // The Env in force for the calling process.
  static Env* Current();
  // This platform's own implementation (Win32 on Windows, POSIX elsewhere); never destroyed.
  static Env* Default();
#ifdef _WIN32
  // The Win32 implementation, the default on Windows; never destroyed.
  static Env* Win32();
#else
  // The POSIX implementation, the default elsewhere; never destroyed.
  static Env* Posix();
#endif

  // Fills |status| and returns 0, or returns kErrorFileNotFound (the directory exists, the file
  // does not), kErrorPathNotFound (a directory of the path is missing) or another errno value.
  virtual int GetFileStatus(const std::string& path, FileStatus* status) = 0;
  // 0 when access(2) grants |mode| (kAccess*), else the errno value.
  virtual int Access(const std::string& path, int mode) = 0;
  // Reads the whole file into |contents|. Unless |lock_timeout_ms| is kNoLock it holds a shared
  // lock while it reads, waiting at most that long for a writer to let go (EWOULDBLOCK after
  // that). 0 or errno.
  virtual int ReadFile(const std::string& path, std::string* contents, int lock_timeout_ms) = 0;
  // Creates or truncates |path| for writing. 0 or errno.
  virtual int NewWritableFile(const std::string& path, std::unique_ptr<WritableFile>* file) = 0;
  virtual int RenameFile(const std::string& from, const std::string& to) = 0;
  virtual int RemoveFile(const std::string& path) = 0;
  // Flushes the directory entry list of |dir| to stable storage. 0 or errno.
  virtual int SyncDirectory(const std::string& dir) = 0;
  // Takes an advisory lock on the whole file, one that conflicts with every other open of it, in
  // this process or another, and that a network file system passes on to its server. An
  // exclusive lock creates a missing file (empty; removed again when the lock goes while the
  // file is still empty and unchanged) and is always on the file |path| names when it returns:
  // a file replaced by a rename while it waited is locked again. Waits at most |timeout_ms| for
  // a lock held elsewhere. 0 and the lock, EWOULDBLOCK when it stays held elsewhere, or errno.
  virtual int LockFile(const std::string& path, bool exclusive, int timeout_ms,
                       std::unique_ptr<FileLock>* lock) = 0;
  // Opens |path| for reading and writing (creating it empty when missing) and tries, without
  // waiting, the exclusive lock of LockFile on it, then releases both. 0 when it was granted.
  virtual int ProbeExclusiveOpen(const std::string& path) = 0;
  // The names in directory |dir|, without "." and "..". 0 or errno.
  virtual int GetChildren(const std::string& dir, std::vector<std::string>* names) = 0;
  // Whether a process with this id runs on this machine.
  virtual bool IsProcessAlive(int pid) = 0;
  // Lets every user read and write the file (mode 0666). 0 or errno.
  virtual int MakeWorldAccessible(const std::string& path) = 0;
  // Gives the owner write permission back. 0 or errno.
  virtual int MakeWritable(const std::string& path) = 0;

  // Seconds since the epoch.
  virtual std::time_t Now() = 0;
  // The short date (strftime %x) and the time (%X) of |when| in local time, formatted by the
  // LC_TIME locale of the environment without touching the process's global locale.
  virtual bool FormatShortDate(std::time_t when, std::string* out) = 0;
  virtual bool FormatTime(std::time_t when, std::string* out) = 0;

  // How long the library waits for a folder file that another process (or another thread) has
  // locked before the operation reports failure; the setting of the Env in force is used.
  int LockTimeoutMs() const { return lock_timeout_ms_.load(std::memory_order_relaxed); }
  void SetLockTimeoutMs(int ms) { lock_timeout_ms_.store(ms, std::memory_order_relaxed); }

 private:
  std::atomic<int> lock_timeout_ms_{kDefaultLockTimeoutMs};
};

// Forwards every call to another Env; a test derives from it and overrides only what it
// breaks.
class FOLDWISE_EXPORT EnvWrapper : public Env {
 public:
  explicit EnvWrapper(Env* target) : target_(target) {}
  Env* target() const { return target_; }

  int GetFileStatus(const std::string& path, FileStatus* status) override {
    return target_->GetFileStatus(path, status);
  }
  int Access(const std::string& path, int mode) override { return target_->Access(path, mode); }
  int ReadFile(const std::string& path, std::string* contents, int lock_timeout_ms) override {
    return target_->ReadFile(path, contents, lock_timeout_ms);
  }
  int NewWritableFile(const std::string& path, std::unique_ptr<WritableFile>* file) override {
    return target_->NewWritableFile(path, file);
  }
  int RenameFile(const std::string& from, const std::string& to) override {
    return target_->RenameFile(from, to);
  }
  int RemoveFile(const std::string& path) override { return target_->RemoveFile(path); }
  int SyncDirectory(const std::string& dir) override { return target_->SyncDirectory(dir); }
  int LockFile(const std::string& path, bool exclusive, int timeout_ms,
               std::unique_ptr<FileLock>* lock) override {
    return target_->LockFile(path, exclusive, timeout_ms, lock);
  }
  int ProbeExclusiveOpen(const std::string& path) override {
    return target_->ProbeExclusiveOpen(path);
  }
  int GetChildren(const std::string& dir, std::vector<std::string>* names) override {
    return target_->GetChildren(dir, names);
  }
  bool IsProcessAlive(int pid) override { return target_->IsProcessAlive(pid); }
  int MakeWorldAccessible(const std::string& path) override {
    return target_->MakeWorldAccessible(path);
  }
  int MakeWritable(const std::string& path) override { return target_->MakeWritable(path); }
  std::time_t Now() override { return target_->Now(); }
  bool FormatShortDate(std::time_t when, std::string* out) override {
    return target_->FormatShortDate(when, out);
  }
  bool FormatTime(std::time_t when, std::string* out) override {
    return target_->FormatTime(when, out);
  }

 private:
  Env* target_;
};

// Installs |env| as the Env in force for its lifetime and restores the previous one after.
// Scopes nest; they are meant for set-up code, not for use while other threads call the library.
class FOLDWISE_EXPORT ScopedEnv {
 public:
  explicit ScopedEnv(Env* env);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  Env* previous_;
};

// The crash-safe save used for every folder file: writes |data| to a temporary file beside
// |path| (open to every user), flushes it, renames it over |path| and flushes the directory,
// holding an exclusive lock on the file meanwhile (the caller's, when it holds one through
// FileHold). On failure the previous file is left as it was, the temporary file is removed and
// the errno value of the failing step is returned; 0 on success. Temporaries that an
// interrupted save of the same file left behind are removed. Where the directory refuses new
// files but the file itself may be written, the file is rewritten in place instead, which a
// crash can leave half-written.
FOLDWISE_EXPORT int WriteFileAtomically(Env* env, const std::string& path, std::string_view data);
// Deletes |path| and flushes its directory, so the deletion survives a power loss (an empty
// file, which counts as missing, is deleted without the flush). 0 or errno.
FOLDWISE_EXPORT int RemoveFileDurably(Env* env, const std::string& path);

}  // namespace Foldwise

#endif  // FOLDWISE_ENV_H_
