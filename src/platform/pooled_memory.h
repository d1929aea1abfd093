// A process-wide pool of large memory blocks.
//
// Parsing and serialising a folder file of some megabytes allocates the same large blocks again
// and again. With the C library's defaults those blocks go back to the system when freed, and
// every first touch of a fresh page costs more than the parser spends on it, so an operation
// that loads a fresh document runs several times slower than the parser itself. Blocks kept here
// are reused already touched.
#ifndef FOLDWISE_PLATFORM_POOLED_MEMORY_H_
#define FOLDWISE_PLATFORM_POOLED_MEMORY_H_

#include <cstddef>

namespace Foldwise {
namespace platform {

// malloc for small sizes; a pooled block for large ones. Null when out of memory.
void* PooledAllocate(std::size_t size);
// Takes back any block from malloc or PooledAllocate; large ones are kept for reuse while the
// pool holds less than its limit.
void PooledDeallocate(void* block);
// Bytes held in the pool, free for reuse.
std::size_t PooledBytes();

}  // namespace platform
}  // namespace Foldwise

#endif  // FOLDWISE_PLATFORM_POOLED_MEMORY_H_
