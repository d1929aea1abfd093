// Large blocks are kept and handed out again; small ones and foreign ones are handled too.
#include "platform/pooled_memory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace Foldwise {
namespace platform {
namespace {

TEST(PooledMemoryTest, LargeBlocksAreReusedAndSmallOnesAreNot) {
  const std::size_t before = PooledBytes();
  void* large = PooledAllocate(40000);
  ASSERT_NE(nullptr, large);
  std::memset(large, 1, 40000);
  PooledDeallocate(large);
  EXPECT_GE(PooledBytes(), before + 40000);

  // The same request gets the same, already touched block back.
  void* again = PooledAllocate(40000);
  EXPECT_EQ(large, again);
  EXPECT_EQ(before, PooledBytes());
  PooledDeallocate(again);

  void* small = PooledAllocate(100);
  const std::size_t held = PooledBytes();
  PooledDeallocate(small);
  EXPECT_EQ(held, PooledBytes());

  // A block plain malloc made may be given back and served again, large enough.
  void* foreign = std::malloc(70000);
  ASSERT_NE(nullptr, foreign);
  PooledDeallocate(foreign);
  void* served = PooledAllocate(65536);
  std::memset(served, 2, 65536);
  PooledDeallocate(served);
  PooledDeallocate(nullptr);
}

}  // namespace
}  // namespace platform
}  // namespace Foldwise
