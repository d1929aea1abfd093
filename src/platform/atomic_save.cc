// The one save routine of every folder file, and the durable deletion of an emptied one.
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "foldwise/env.h"
#include "platform/file_hold.h"

namespace Foldwise {
namespace {

#ifdef _WIN32
// Windows takes either slash; a drive path's directory keeps its root ("C:\").
constexpr const char* kSeparators = "\\/";
int ProcessId() { return ::_getpid(); }
#else
constexpr const char* kSeparators = "/";
int ProcessId() { return static_cast<int>(::getpid()); }
#endif

std::string DirectoryOf(const std::string& path) {
  const std::string::size_type slash = path.find_last_of(kSeparators);
  if (slash == std::string::npos) return ".";
  if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const std::string::size_type slash = path.find_last_of(kSeparators);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinDirectory(const std::string& dir, const std::string& name) {
  return std::string(kSeparators).find(dir.back()) != std::string::npos
             ? dir + name
             : dir + kSeparators[0] + name;
}

// The pid keeps two processes saving the same folder apart; the counter two threads.
std::string TemporaryNameFor(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return path + "." + std::to_string(ProcessId()) + "." + std::to_string(counter++) + ".tmp";
}

bool AllDigits(const std::string& text) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The pid of a temporary this routine made for |base| ("<base>.<pid>.<n>.tmp"), or 0 for any
// other name.
int TemporaryOwner(const std::string& name, const std::string& base) {
  const std::string suffix = ".tmp";
  if (name.size() <= base.size() + 1 + suffix.size() || name.compare(0, base.size(), base) != 0 ||
      name[base.size()] != '.' ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return 0;
  }
  const std::string middle =
      name.substr(base.size() + 1, name.size() - base.size() - 1 - suffix.size());
  const std::string::size_type dot = middle.find('.');
  if (dot == std::string::npos) return 0;
  const std::string pid = middle.substr(0, dot);
  if (!AllDigits(pid) || !AllDigits(middle.substr(dot + 1))) return 0;
  return std::atoi(pid.c_str());
}

// A process killed between writing its temporary and the rename leaves the temporary behind.
// Only temporaries of processes that no longer run here are taken: a live process may be about
// to rename its own (a process of another machine sharing the directory does not run here, but
// it holds the lock this save holds, so it is not inside a save of this file either).
void RemoveStaleTemporaries(Env* env, const std::string& path) {
  const std::string dir = DirectoryOf(path);
  const std::string base = BaseNameOf(path);
  std::vector<std::string> names;
  if (env->GetChildren(dir, &names) != 0) return;
  const int self = ProcessId();
  for (const std::string& name : names) {
    const int owner = TemporaryOwner(name, base);
    if (owner == 0 || owner == self || env->IsProcessAlive(owner)) continue;
    (void)env->RemoveFile(JoinDirectory(dir, name));
  }
}

// The temporary of one save, removed again unless the rename consumed it: on an error, and on
// an allocation failure that leaves the save as an exception, which would otherwise leave it for
// good (it belongs to a live process, so no later save takes it away).
class PendingTemporary {
 public:
  PendingTemporary(Env* env, const std::string& path) : env_(env), path_(path) {}
  ~PendingTemporary() {
    if (!renamed_) (void)env_->RemoveFile(path_);
  }
  PendingTemporary(const PendingTemporary&) = delete;
  PendingTemporary& operator=(const PendingTemporary&) = delete;
  void Renamed() { renamed_ = true; }

 private:
  Env* env_;
  const std::string& path_;
  bool renamed_ = false;
};

int WriteAndSync(WritableFile* file, std::string_view data) {
  int error = file->Append(data);
  if (error == 0) error = file->Sync();
  const int close_error = file->Close();
  return error != 0 ? error : close_error;
}

// A directory where this user may write the file but not create one (a shared data directory
// whose files were opened to every user) leaves no way but to write the file itself. A crash or
// a full disk in the middle leaves it half-written; the lock keeps readers out meanwhile.
int RewriteInPlace(Env* env, const std::string& path, std::string_view data) {
  FileStatus status;
  if (env->GetFileStatus(path, &status) != 0) return EACCES;
  std::unique_ptr<WritableFile> file;
  const int error = env->NewWritableFile(path, &file);
  if (error != 0) return error;
  return WriteAndSync(file.get(), data);
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
  RemoveStaleTemporaries(env, path);

  const std::string temporary = TemporaryNameFor(path);
  // Before the file exists: the allocation that fails may be the one that wraps it.
  PendingTemporary pending(env, temporary);
  std::unique_ptr<WritableFile> file;
  int error = env->NewWritableFile(temporary, &file);
  if (error == EACCES || error == EPERM) return RewriteInPlace(env, path, data);
  if (error != 0) return error;
  error = WriteAndSync(file.get(), data);
  // Before the rename: a crash right after it must not leave the new file closed to the other
  // users of a shared directory. SetFileAccess after the save reports a refusal.
  if (error == 0) (void)env->MakeWorldAccessible(temporary);
  // A holder keeps the file locked past the rename: the lock moves to the new file before it
  // becomes visible, so nobody can slip in between this save and the end of the hold.
  std::unique_ptr<FileLock> successor;
  if (error == 0 && held != nullptr) error = env->LockFile(temporary, true, 0, &successor);
  if (error == 0) error = env->RenameFile(temporary, path);
  if (error != 0) return error;
  pending.Renamed();
  if (held != nullptr) *held = std::move(successor);
  // The rename is done and the new content is what every reader sees from now on; a directory
  // that cannot be flushed (some file systems refuse) cannot undo that, so it is not a failure.
  (void)env->SyncDirectory(DirectoryOf(path));
  return 0;
}

int RemoveFileDurably(Env* env, const std::string& path) {
  FileStatus status;
  const bool empty = env->GetFileStatus(path, &status) == 0 && status.size == 0;
  const int error = env->RemoveFile(path);
  if (error != 0) return error;
  // Without the flush a power loss can bring the deleted file back. An empty file (such as the
  // one a change creates to have something to lock) counts as missing, so it may come back.
  if (!empty) (void)env->SyncDirectory(DirectoryOf(path));
  return 0;
}

}  // namespace Foldwise
