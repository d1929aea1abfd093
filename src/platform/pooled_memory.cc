#include "platform/pooled_memory.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace Foldwise {
namespace platform {
namespace {

// Below this a buffer is the allocator's ordinary business and not worth keeping.
constexpr std::size_t kWorthKeeping = std::size_t{64} << 10;

class BufferPool {
 public:
  std::string Take() {
    std::lock_guard<std::mutex> guard(mutex_);
    if (buffers_.empty()) return std::string();
    // The largest one: a folder file grows slowly, so the same buffer serves it again.
    auto largest = std::max_element(
        buffers_.begin(), buffers_.end(),
        [](const std::string& a, const std::string& b) { return a.capacity() < b.capacity(); });
    std::string buffer = std::move(*largest);
    buffers_.erase(largest);
    held_ -= buffer.capacity();
    buffer.clear();
    return buffer;
  }

  void Return(std::string&& buffer) {
    const std::size_t capacity = buffer.capacity();
    if (capacity < kWorthKeeping) return;
    std::lock_guard<std::mutex> guard(mutex_);
    if (buffers_.size() < kMaxPooledBuffers && held_ + capacity <= kPoolLimitBytes) {
      held_ += capacity;
      buffers_.push_back(std::move(buffer));
    }
  }

  void Release() {
    std::vector<std::string> freed;
    std::lock_guard<std::mutex> guard(mutex_);
    freed.swap(buffers_);
    held_ = 0;
  }

  std::size_t Held() {
    std::lock_guard<std::mutex> guard(mutex_);
    return held_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> buffers_;
  std::size_t held_ = 0;
};

// Never destroyed: documents held by other static objects give their buffers back after the
// pool's destructor would have run.
BufferPool& ThePool() {
  static BufferPool* const pool = new BufferPool;  // NOLINT(cppcoreguidelines-owning-memory)
  return *pool;
}

}  // namespace

std::string TakeBuffer() { return ThePool().Take(); }
void ReturnBuffer(std::string&& buffer) { ThePool().Return(std::move(buffer)); }
void ReleasePooledBuffers() { ThePool().Release(); }
std::size_t PooledBytes() { return ThePool().Held(); }

}  // namespace platform
}  // namespace Foldwise
