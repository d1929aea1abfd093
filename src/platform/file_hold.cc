#include "platform/file_hold.h"

#include <unordered_map>
#include <utility>

namespace Foldwise {
namespace platform {
namespace {

struct Held {
  std::unique_ptr<FileLock> lock;
  int count = 0;
};

// Per thread: a lock is taken for one thread's change, and another thread of this process must
// wait for it exactly as another process does.
std::unordered_map<std::string, Held>& HeldFiles() {
  thread_local std::unordered_map<std::string, Held> held;
  return held;
}

}  // namespace

FileHold::FileHold(Env* env, const std::string& path) : path_(path) {
  auto& held = HeldFiles();
  const auto found = held.find(path);
  if (found != held.end()) {
    ++found->second.count;
    return;
  }
  std::unique_ptr<FileLock> lock;
  error_ = env->LockFile(path, /*exclusive=*/true, env->LockTimeoutMs(), &lock);
  if (error_ == 0) held[path] = Held{std::move(lock), 1};
}

FileHold::~FileHold() {
  if (error_ != 0) return;
  auto& held = HeldFiles();
  const auto found = held.find(path_);
  if (found != held.end() && --found->second.count == 0) held.erase(found);
}

std::unique_ptr<FileLock>* FileHold::HeldLock(const std::string& path) {
  auto& held = HeldFiles();
  const auto found = held.find(path);
  return found == held.end() ? nullptr : &found->second.lock;
}

int ReadFileForLoad(Env* env, const std::string& path, std::string* contents) {
  const int timeout = FileHold::HeldLock(path) != nullptr ? kNoLock : env->LockTimeoutMs();
  return env->ReadFile(path, contents, timeout);
}

}  // namespace platform
}  // namespace Foldwise
