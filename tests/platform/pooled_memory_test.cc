// Text buffers are reused, within the pool's bounds, and all of them can be given back.
#include "platform/pooled_memory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Foldwise {
namespace platform {
namespace {

TEST(PooledMemoryTest, BuffersAreReusedWithinBoundsAndReleasable) {
  ReleasePooledBuffers();
  // Step 1: a large buffer comes back empty, with its memory.
  std::string large = TakeBuffer();
  large.assign(1 << 20, 'x');
  const char* memory = large.data();
  ReturnBuffer(std::move(large));
  EXPECT_GE(PooledBytes(), std::size_t{1} << 20);
  std::string again = TakeBuffer();
  EXPECT_TRUE(again.empty());
  EXPECT_EQ(memory, again.data());
  EXPECT_EQ(0u, PooledBytes());

  // Step 2: small buffers are not kept; no more than the limits are.
  ReturnBuffer(std::string(100, 's'));
  EXPECT_EQ(0u, PooledBytes());
  for (std::size_t i = 0; i < kMaxPooledBuffers + 2; ++i) ReturnBuffer(std::string(1 << 20, 'b'));
  EXPECT_LE(PooledBytes(), kMaxPooledBuffers * ((std::size_t{1} << 20) + 64));
  ReturnBuffer(std::string(kPoolLimitBytes + 1, 'h'));
  EXPECT_LE(PooledBytes(), kPoolLimitBytes);

  // Step 3: released, nothing is kept.
  ReturnBuffer(std::move(again));
  ReleasePooledBuffers();
  EXPECT_EQ(0u, PooledBytes());
}

}  // namespace
}  // namespace platform
}  // namespace Foldwise
