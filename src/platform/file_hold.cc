#include "platform/file_hold.h"

#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <utility>

namespace Foldwise {
namespace platform {
namespace {

struct Held {
  std::unique_ptr<FileLock> lock;
  int count = 0;
};

using HeldFiles = std::unordered_map<std::string, Held>;

// Per thread: a lock is taken for one thread's change, and another thread of this process must
// wait for it exactly as another process does. Kept by thread id rather than in a thread_local
// object: mingw-w64 runs the destructors of thread_local objects after it has freed their
// storage, which corrupts the heap on Windows. A thread's entry goes with its last hold.
class HeldByThread {
 public:
  // The calling thread's files, made when |create|; null when it holds none.
  HeldFiles* Mine(bool create) {
    std::lock_guard<std::mutex> guard(mu_);
    const auto found = threads_.find(std::this_thread::get_id());
    if (found != threads_.end()) return &found->second;
    if (!create) return nullptr;
    return &threads_[std::this_thread::get_id()];
  }
  void DropMineIfEmpty() {
    std::lock_guard<std::mutex> guard(mu_);
    const auto found = threads_.find(std::this_thread::get_id());
    if (found != threads_.end() && found->second.empty()) threads_.erase(found);
  }

 private:
  std::mutex mu_;
  // Nodes stay where they are while other threads add and remove theirs.
  std::map<std::thread::id, HeldFiles> threads_;
};

HeldByThread& Holds() {
  static HeldByThread* const holds = new HeldByThread;  // used until the end of the process
  return *holds;
}

}  // namespace

FileHold::FileHold(Env* env, const std::string& path) : path_(path) {
  HeldFiles* held = Holds().Mine(/*create=*/false);
  if (held != nullptr) {
    const auto found = held->find(path);
    if (found != held->end()) {
      ++found->second.count;
      return;
    }
  }
  std::unique_ptr<FileLock> lock;
  error_ = env->LockFile(path, /*exclusive=*/true, env->LockTimeoutMs(), &lock);
  if (error_ != 0) return;
  held = Holds().Mine(/*create=*/true);
  (*held)[path] = Held{std::move(lock), 1};
}

FileHold::~FileHold() {
  if (error_ != 0) return;
  HeldFiles* held = Holds().Mine(/*create=*/false);
  if (held == nullptr) return;
  const auto found = held->find(path_);
  if (found != held->end() && --found->second.count == 0) {
    held->erase(found);
    Holds().DropMineIfEmpty();
  }
}

std::unique_ptr<FileLock>* FileHold::HeldLock(const std::string& path) {
  HeldFiles* held = Holds().Mine(/*create=*/false);
  if (held == nullptr) return nullptr;
  const auto found = held->find(path);
  return found == held->end() ? nullptr : &found->second.lock;
}

int ReadFileForLoad(Env* env, const std::string& path, std::string* contents) {
  const int timeout = FileHold::HeldLock(path) != nullptr ? kNoLock : env->LockTimeoutMs();
  return env->ReadFile(path, contents, timeout);
}

}  // namespace platform
}  // namespace Foldwise
