// A small pool of text buffers: the file text a document is parsed from (in place) and the text a
// document is saved from.
//
// Parsing and serialising a folder file of some megabytes needs a buffer of its size each time.
// Freshly allocated, such a buffer comes from new pages (the C library hands large blocks back to
// the system when they are freed), and every first touch of a page costs more than the parser
// spends on it. Buffers kept here are reused already touched. Only memory Foldwise owns is
// pooled; pugixml's own allocation functions are the host's business and are never replaced.
//
// Bounds: between operations the pool keeps at most kMaxPooledBuffers buffers of at most
// kPoolLimitBytes together; a buffer that does not fit is freed when it comes back.
// ReleasePooledBuffers (called by CXmlDocument::UninitXMLDocument) frees everything it keeps.
#ifndef FOLDWISE_PLATFORM_POOLED_MEMORY_H_
#define FOLDWISE_PLATFORM_POOLED_MEMORY_H_

#include <cstddef>
#include <string>

namespace Foldwise {
namespace platform {

constexpr std::size_t kMaxPooledBuffers = 4;
constexpr std::size_t kPoolLimitBytes = std::size_t{64} << 20;

// An empty buffer, with the capacity of the largest one the pool kept, or a new one.
std::string TakeBuffer();
// Gives |buffer| back for reuse; it is kept only while the pool stays within its bounds.
void ReturnBuffer(std::string&& buffer);
// Frees every buffer the pool keeps.
void ReleasePooledBuffers();
// Capacity held by the pool, in bytes.
std::size_t PooledBytes();

// A buffer taken from the pool for a scope and given back at its end.
class ScopedBuffer {
 public:
  ScopedBuffer() : buffer_(TakeBuffer()) {}
  ~ScopedBuffer() { ReturnBuffer(std::move(buffer_)); }
  ScopedBuffer(const ScopedBuffer&) = delete;
  ScopedBuffer& operator=(const ScopedBuffer&) = delete;

  std::string* get() { return &buffer_; }

 private:
  std::string buffer_;
};

}  // namespace platform
}  // namespace Foldwise

#endif  // FOLDWISE_PLATFORM_POOLED_MEMORY_H_
