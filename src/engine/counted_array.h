// Arrays handed to the host: one allocation holding the element count in front of the first
// element, every element constructed empty. Only ReleaseCountedArray frees them, and it destroys
// exactly the stored number of elements, whatever the host did with the pointer's neighbours.
//
// Every list a folder hands to the host is one of these (the cached folders' item lists, and the
// outbox's error_list and server lists):
//   Record* list = NewCountedArray<Record>(n);  // may throw std::bad_alloc
//   ... fill list[0..n-1], hand it out ...
//   ReleaseCountedArray(list);                  // in the folder's release operation
#ifndef FOLDWISE_ENGINE_COUNTED_ARRAY_H_
#define FOLDWISE_ENGINE_COUNTED_ARRAY_H_

#include <cstddef>
#include <memory>
#include <new>

namespace Foldwise {

namespace counted_array_internal {

using Block = std::max_align_t;

// Room for the count, rounded up so the elements that follow stay aligned.
template <typename T>
constexpr std::size_t HeaderSize() {
  static_assert(alignof(T) <= alignof(Block), "over-aligned records are not supported");
  return (sizeof(std::size_t) + alignof(T) - 1) / alignof(T) * alignof(T);
}

template <typename T>
unsigned char* StartOf(T* first) {
  return reinterpret_cast<unsigned char*>(first) - HeaderSize<T>();
}

}  // namespace counted_array_internal

// |count| empty elements (count > 0); the result points at the first.
template <typename T>
T* NewCountedArray(std::size_t count) {
  using counted_array_internal::Block;
  const std::size_t bytes = counted_array_internal::HeaderSize<T>() + count * sizeof(T);
  std::unique_ptr<Block[]> storage(new Block[(bytes + sizeof(Block) - 1) / sizeof(Block)]);
  unsigned char* start = reinterpret_cast<unsigned char*>(storage.get());
  T* first = reinterpret_cast<T*>(start + counted_array_internal::HeaderSize<T>());
  std::size_t built = 0;
  try {
    for (; built < count; ++built) new (first + built) T();
  } catch (...) {
    while (built > 0) first[--built].~T();
    throw;
  }
  new (start) std::size_t(count);
  storage.release();
  return first;
}

template <typename T>
std::size_t CountedArraySize(const T* first) {
  return *std::launder(
      reinterpret_cast<const std::size_t*>(counted_array_internal::StartOf(const_cast<T*>(first))));
}

// Destroys the stored number of elements and frees the allocation. Null does nothing.
template <typename T>
void ReleaseCountedArray(T* first) {
  if (first == nullptr) return;
  std::size_t count = CountedArraySize(first);
  while (count > 0) first[--count].~T();
  delete[] reinterpret_cast<counted_array_internal::Block*>(counted_array_internal::StartOf(first));
}

}  // namespace Foldwise

#endif  // FOLDWISE_ENGINE_COUNTED_ARRAY_H_
