// The POSIX Env.
#include <dirent.h>
#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "foldwise/env.h"

namespace Foldwise {
namespace {

// Closes a descriptor on every path.
class ScopedFd {
 public:
  explicit ScopedFd(int fd) : fd_(fd) {}
  ~ScopedFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  ScopedFd(const ScopedFd&) = delete;
  ScopedFd& operator=(const ScopedFd&) = delete;
  int get() const { return fd_; }
  void reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(path, flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

class PosixWritableFile : public WritableFile {
 public:
  explicit PosixWritableFile(int fd) : fd_(fd) {}
  ~PosixWritableFile() override { Close(); }

  int Append(std::string_view data) override {
    while (!data.empty()) {
      const ssize_t n = ::write(fd_.get(), data.data(), data.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      data.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
  }
  int Sync() override { return ::fsync(fd_.get()) == 0 ? 0 : errno; }
  int Close() override {
    const int fd = fd_.release();
    if (fd < 0) return 0;
    return ::close(fd) == 0 ? 0 : errno;
  }

 private:
  ScopedFd fd_;
};

// A lock request that another holder refuses, as opposed to one the file system cannot serve.
bool IsBusy(int error) { return error == EWOULDBLOCK || error == EAGAIN || error == EACCES; }

// File systems without one of the two lock kinds are used without it: the rename still keeps
// every reader's view whole, and refusing every save there would lose more than it protects.
bool IsUnsupported(int error) {
  return error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS || error == EINVAL;
}

// Tries both lock kinds once, all or nothing, always in the same order so that two takers never
// hold one kind each. The byte-range lock on the open file description conflicts with every
// other open of the file, in this process too, and a network file system passes it on to its
// server; the flock keeps out local programs (and earlier versions of this library) that lock
// the whole file with flock. |writable| tells whether the descriptor may take a write lock.
int TryLock(int fd, bool exclusive, bool writable) {
  int flocked = ::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB);
  if (flocked != 0) {
    const int error = errno;
    if (!IsUnsupported(error)) return IsBusy(error) ? EWOULDBLOCK : error;
  }
  struct flock range {};
  range.l_type = exclusive && writable ? F_WRLCK : F_RDLCK;
  range.l_whence = SEEK_SET;
  if (::fcntl(fd, F_OFD_SETLK, &range) != 0) {
    const int error = errno;
    if (IsUnsupported(error)) return 0;
    if (flocked == 0) ::flock(fd, LOCK_UN);
    return IsBusy(error) ? EWOULDBLOCK : error;
  }
  return 0;
}

using Clock = std::chrono::steady_clock;

// Polls TryLock until |deadline|: neither lock kind has a timed wait, and a blocking wait could
// last as long as a hung holder.
int LockBefore(int fd, bool exclusive, bool writable, Clock::time_point deadline) {
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    const int error = TryLock(fd, exclusive, writable);
    if (error != EWOULDBLOCK && error != EINTR) return error;
    const auto now = Clock::now();
    if (now >= deadline) return EWOULDBLOCK;
    std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
    pause = std::min(pause * 2, std::chrono::milliseconds(16));
  }
}

Clock::time_point DeadlineAfter(int timeout_ms) {
  return Clock::now() + std::chrono::milliseconds(std::max(timeout_ms, 0));
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Closing the descriptor releases both lock kinds.
class PosixFileLock : public FileLock {
 public:
  PosixFileLock(int fd, std::string path, bool created)
      : fd_(fd), path_(std::move(path)), created_(created) {}
  void Adopt(int fd) { fd_.reset(fd); }
  ~PosixFileLock() override {
    // A file created only to have something to lock is taken away again when nothing was
    // written to it; one that a save has replaced, or that has content, stays.
    if (!created_) return;
    struct stat held;
    struct stat named;
    if (::fstat(fd_.get(), &held) == 0 && held.st_size == 0 && ::stat(path_.c_str(), &named) == 0 &&
        SameFile(held, named)) {
      ::unlink(path_.c_str());
    }
  }

 private:
  ScopedFd fd_;
  std::string path_;
  bool created_;
};

// The lock object for the locked |fd|, made before |fd| lets go of the descriptor: an allocation
// failure on the way must close it, or its lock would outlive the operation and every later
// lock on the file would wait in vain.
std::unique_ptr<FileLock> AdoptLock(ScopedFd& fd, const std::string& path, bool created) {
  auto lock = std::make_unique<PosixFileLock>(-1, path, created);
  lock->Adopt(fd.release());
  return lock;
}

// Formats |when| with |format| in the LC_TIME locale named by the environment, through a
// locale object of its own so the process's global locale stays as the host set it.
bool FormatLocal(std::time_t when, const char* format, std::string* out) {
  out->clear();
  std::tm local{};
  if (::localtime_r(&when, &local) == nullptr) return false;
  locale_t locale = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) {
    locale = ::newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) return false;
  }
  char buffer[64];
  const size_t n = ::strftime_l(buffer, sizeof buffer, format, &local, locale);
  ::freelocale(locale);
  if (n == 0) return false;
  out->assign(buffer, n);
  return true;
}

class PosixEnv : public Env {
 public:
  int GetFileStatus(const std::string& path, FileStatus* status) override {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
      const int error = errno;
      if (error == ENOENT || error == ENOTDIR) return MissingKind(path);
      return error;
    }
    status->size = static_cast<std::uint64_t>(st.st_size);
    status->read_only = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    return 0;
  }

  int Access(const std::string& path, int mode) override {
    int posix_mode = F_OK;
    if (mode & kAccessRead) posix_mode |= R_OK;
    if (mode & kAccessWrite) posix_mode |= W_OK;
    return ::access(path.c_str(), posix_mode) == 0 ? 0 : errno;
  }

  int ReadFile(const std::string& path, std::string* contents, int lock_timeout_ms) override {
    contents->clear();
    ScopedFd fd(OpenRetrying(path.c_str(), O_RDONLY));
    if (fd.get() < 0) return errno;
    if (lock_timeout_ms != kNoLock) {
      // What is read is the file as this open found it, whole even when a writer renamed a new
      // one over it meanwhile; the lock only waits out a writer that rewrites it in place.
      const int error = LockBefore(fd.get(), /*exclusive=*/false, /*writable=*/false,
                                   DeadlineAfter(lock_timeout_ms));
      if (error != 0) return error;
    }
    // Read straight into |contents|, sized for the file as it stands; a file that grows
    // meanwhile is read to its end all the same.
    struct stat st;
    size_t room = 65536;
    if (::fstat(fd.get(), &st) == 0 && st.st_size > 0) room = static_cast<size_t>(st.st_size) + 1;
    size_t filled = 0;
    contents->resize(room);
    for (;;) {
      if (filled == contents->size()) contents->resize(filled * 2);
      const ssize_t n = ::read(fd.get(), &(*contents)[filled], contents->size() - filled);
      if (n < 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        contents->clear();
        return error;
      }
      if (n == 0) break;
      filled += static_cast<size_t>(n);
    }
    contents->resize(filled);
    return 0;
  }

  int NewWritableFile(const std::string& path, std::unique_ptr<WritableFile>* file) override {
    const int fd = OpenRetrying(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) return errno;
    *file = std::make_unique<PosixWritableFile>(fd);
    return 0;
  }

  int RenameFile(const std::string& from, const std::string& to) override {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
  }

  int RemoveFile(const std::string& path) override {
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
  }

  int SyncDirectory(const std::string& dir) override {
    ScopedFd fd(OpenRetrying(dir.c_str(), O_RDONLY | O_DIRECTORY));
    if (fd.get() < 0) return errno;
    return ::fsync(fd.get()) == 0 ? 0 : errno;
  }

  int LockFile(const std::string& path, bool exclusive, int timeout_ms,
               std::unique_ptr<FileLock>* lock) override {
    const Clock::time_point deadline = DeadlineAfter(timeout_ms);
    if (!exclusive) {
      ScopedFd fd(OpenRetrying(path.c_str(), O_RDONLY));
      if (fd.get() < 0) return errno;
      const int error = LockBefore(fd.get(), false, false, deadline);
      if (error != 0) return error;
      *lock = AdoptLock(fd, path, false);
      return 0;
    }
    for (;;) {
      bool created = false;
      bool writable = true;
      ScopedFd fd(OpenRetrying(path.c_str(), O_RDWR));
      if (fd.get() < 0 && errno == ENOENT) {
        fd.reset(OpenRetrying(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0666));
        if (fd.get() < 0 && errno == EEXIST) continue;  // another taker created it first
        created = fd.get() >= 0;
      } else if (fd.get() < 0 && errno == EACCES) {
        // A file this user may not write is still replaced by the rename of a save; it is
        // guarded by what a read-only descriptor can take.
        fd.reset(OpenRetrying(path.c_str(), O_RDONLY));
        writable = false;
      }
      if (fd.get() < 0) return errno;
      int error = LockBefore(fd.get(), true, writable, deadline);
      struct stat held;
      struct stat named;
      if (error == 0 && ::fstat(fd.get(), &held) != 0) error = errno;
      if (error == 0 && ::stat(path.c_str(), &named) == 0 && SameFile(held, named)) {
        *lock = AdoptLock(fd, path, created);
        return 0;
      }
      if (error != 0) {
        const std::unique_ptr<FileLock> cleanup = AdoptLock(fd, path, created);
        return error;
      }
      // Replaced (or deleted) by the holder we waited for: lock whatever the path names now.
      if (Clock::now() >= deadline) return EWOULDBLOCK;
    }
  }

  int ProbeExclusiveOpen(const std::string& path) override {
    ScopedFd fd(OpenRetrying(path.c_str(), O_RDWR | O_CREAT, 0666));
    if (fd.get() < 0) return errno;
    return TryLock(fd.get(), /*exclusive=*/true, /*writable=*/true);
  }

  int GetChildren(const std::string& dir, std::vector<std::string>* names) override {
    names->clear();
    // Closed on every path: an allocation failure while collecting names must not leak it.
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(dir.c_str()), ::closedir);
    if (!listing) return errno;
    while (const struct dirent* entry = ::readdir(listing.get())) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names->push_back(name);
    }
    return 0;
  }

  bool IsProcessAlive(int pid) override {
    if (pid <= 0) return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
  }

  int MakeWorldAccessible(const std::string& path) override {
    return ::chmod(path.c_str(), 0666) == 0 ? 0 : errno;
  }

  int MakeWritable(const std::string& path) override {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return errno;
    return ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0 ? 0 : errno;
  }

  std::time_t Now() override { return std::time(nullptr); }

  bool FormatShortDate(std::time_t when, std::string* out) override {
    return FormatLocal(when, "%x", out);
  }
  bool FormatTime(std::time_t when, std::string* out) override {
    return FormatLocal(when, "%X", out);
  }

 private:
  // Windows tells a missing file in an existing directory (2) from a missing directory (3), and
  // the folders treat the two differently; stat only says ENOENT, so look at the parent.
  static int MissingKind(const std::string& path) {
    const std::string::size_type slash = path.find_last_of('/');
    if (slash == std::string::npos) return kErrorFileNotFound;
    const std::string parent = slash == 0 ? "/" : path.substr(0, slash);
    struct stat st;
    if (::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return kErrorFileNotFound;
    return kErrorPathNotFound;
  }
};

}  // namespace

Env* Env::Default() { return Posix(); }

Env* Env::Posix() {
  static PosixEnv env;  // stateless, so safe to use until the very end of the process
  return &env;
}

}  // namespace Foldwise
