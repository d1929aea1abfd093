// The POSIX Env.
#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

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

class PosixFileLock : public FileLock {
 public:
  explicit PosixFileLock(int fd) : fd_(fd) {}
  ~PosixFileLock() override { ::flock(fd_.get(), LOCK_UN); }

 private:
  ScopedFd fd_;
};

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

  int ReadFile(const std::string& path, std::string* contents) override {
    contents->clear();
    ScopedFd fd(OpenRetrying(path.c_str(), O_RDONLY));
    if (fd.get() < 0) return errno;
    // A writer replacing the file holds an exclusive lock; wait for it to finish.
    while (::flock(fd.get(), LOCK_SH) != 0) {
      if (errno != EINTR) break;
    }
    struct stat st;
    if (::fstat(fd.get(), &st) == 0 && st.st_size > 0) {
      contents->reserve(static_cast<size_t>(st.st_size));
    }
    char buffer[65536];
    for (;;) {
      const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
      if (n < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      if (n == 0) break;
      contents->append(buffer, static_cast<size_t>(n));
    }
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

  int LockFile(const std::string& path, bool exclusive, bool wait,
               std::unique_ptr<FileLock>* lock) override {
    ScopedFd fd(OpenRetrying(path.c_str(), O_RDONLY));
    if (fd.get() < 0) return errno;
    const int operation = (exclusive ? LOCK_EX : LOCK_SH) | (wait ? 0 : LOCK_NB);
    while (::flock(fd.get(), operation) != 0) {
      if (errno != EINTR) return errno;
    }
    *lock = std::make_unique<PosixFileLock>(fd.release());
    return 0;
  }

  int ProbeExclusiveOpen(const std::string& path) override {
    ScopedFd fd(OpenRetrying(path.c_str(), O_RDWR | O_CREAT, 0666));
    if (fd.get() < 0) return errno;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return errno;
    ::flock(fd.get(), LOCK_UN);
    return 0;
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

Env* Env::Posix() {
  static PosixEnv env;  // stateless, so safe to use until the very end of the process
  return &env;
}

}  // namespace Foldwise
