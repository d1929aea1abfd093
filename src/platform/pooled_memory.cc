#include "platform/pooled_memory.h"

#include <malloc.h>

#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

namespace Foldwise {
namespace platform {
namespace {

// Below this a block is the allocator's ordinary business.
constexpr std::size_t kGranule = 4096;
// Enough for the working set of the largest folder files; beyond it blocks are freed.
constexpr std::size_t kPoolLimit = std::size_t{256} << 20;

std::size_t RoundUp(std::size_t size) { return (size + kGranule - 1) / kGranule * kGranule; }

class Pool {
 public:
  void* Allocate(std::size_t size) {
    if (size < kGranule) return std::malloc(size);
    const std::size_t key = RoundUp(size);
    {
      std::lock_guard<std::mutex> guard(mutex_);
      auto bucket = blocks_.find(key);
      if (bucket != blocks_.end() && !bucket->second.empty()) {
        void* block = bucket->second.back();
        bucket->second.pop_back();
        held_ -= key;
        return block;
      }
    }
    return std::malloc(key);
  }

  void Deallocate(void* block) {
    if (block == nullptr) return;
    // The usable size rounded down names a bucket whose every request the block can serve, so
    // blocks that plain malloc made are as welcome as our own.
    const std::size_t key = ::malloc_usable_size(block) / kGranule * kGranule;
    if (key >= kGranule) {
      std::lock_guard<std::mutex> guard(mutex_);
      if (held_ + key <= kPoolLimit) {
        blocks_[key].push_back(block);
        held_ += key;
        return;
      }
    }
    std::free(block);
  }

  std::size_t Held() {
    std::lock_guard<std::mutex> guard(mutex_);
    return held_;
  }

 private:
  std::mutex mutex_;
  std::map<std::size_t, std::vector<void*>> blocks_;
  std::size_t held_ = 0;
};

// Never destroyed: pugixml may free blocks from static destructors after ours would have run.
Pool& ThePool() {
  static Pool* const pool = new Pool;  // NOLINT(cppcoreguidelines-owning-memory)
  return *pool;
}

}  // namespace

void* PooledAllocate(std::size_t size) { return ThePool().Allocate(size); }
void PooledDeallocate(void* block) { ThePool().Deallocate(block); }
std::size_t PooledBytes() { return ThePool().Held(); }

}  // namespace platform
}  // namespace Foldwise
