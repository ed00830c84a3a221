#pragma once
// Memory that a photo keeps for as long as it is listed (its thumbnail's bytes) comes from a heap
// of its own. Mixed with the large passing buffers of the photos being added, each kept block
// would split a freed buffer's block, and the process heap's search for the next large block
// would grow with the list: under Wine, preparing 10,000 small photos and keeping them took the
// heap from 3 % to 10 % of the processor's time, against preparing them and letting them go.
#include <windows.h>

#include <cstddef>
#include <new>

namespace fernwick {

// The heap, made at the first use and kept until the process ends. Any thread.
HANDLE KeptHeap() noexcept;

template <typename T>
struct KeptAllocator {
  using value_type = T;
  KeptAllocator() noexcept = default;
  template <typename U>
  KeptAllocator(const KeptAllocator<U>&) noexcept {}

  T* allocate(std::size_t count) {
    if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    void* block = ::HeapAlloc(KeptHeap(), 0, count * sizeof(T));
    if (!block) throw std::bad_alloc();
    return static_cast<T*>(block);
  }
  void deallocate(T* block, std::size_t) noexcept { ::HeapFree(KeptHeap(), 0, block); }

  template <typename U>
  bool operator==(const KeptAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace fernwick
