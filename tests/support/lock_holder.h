// Another process holding a lock on a file, as a second host, a shell's `flock`, or a program
// on another machine of the workgroup would hold it.
#ifndef FOLDWISE_TESTS_SUPPORT_LOCK_HOLDER_H_
#define FOLDWISE_TESTS_SUPPORT_LOCK_HOLDER_H_

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace Foldwise {
namespace testing {

enum class LockKind { kFlock, kByteRange };

// Forks a child that locks |path| exclusively with |kind| and keeps the lock until Release() or
// destruction, or at most |max_hold_ms|, so a test of code that would wait for good still ends.
class LockHolder {
 public:
  LockHolder(const std::string& path, LockKind kind, int max_hold_ms = 4000) {
    int ready[2];
    int release[2];
    if (::pipe(ready) != 0 || ::pipe(release) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      // Only its own two pipe ends: another holder's release end inherited here would keep
      // that holder waiting for this one.
      for (int fd = 3; fd < 1024; ++fd) {
        if (fd != ready[1] && fd != release[0]) ::close(fd);
      }
      const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0666);
      bool locked = fd >= 0;
      if (locked && kind == LockKind::kFlock) locked = ::flock(fd, LOCK_EX) == 0;
      if (locked && kind == LockKind::kByteRange) {
        struct flock range {};
        range.l_type = F_WRLCK;
        range.l_whence = SEEK_SET;
        locked = ::fcntl(fd, F_OFD_SETLK, &range) == 0;
      }
      const char answer = locked ? '1' : '0';
      (void)!::write(ready[1], &answer, 1);
      struct pollfd wait_for {
        release[0], POLLIN, 0
      };
      ::poll(&wait_for, 1, max_hold_ms);
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    release_ = release[1];
    char answer = '0';
    locked_ = ::read(ready[0], &answer, 1) == 1 && answer == '1';
    ::close(ready[0]);
  }
  ~LockHolder() { Release(); }
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

  bool locked() const { return locked_; }

  void Release() {
    if (release_ >= 0) ::close(release_);
    release_ = -1;
    if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int release_ = -1;
  bool locked_ = false;
};

}  // namespace testing
}  // namespace Foldwise

#endif  // FOLDWISE_TESTS_SUPPORT_LOCK_HOLDER_H_
