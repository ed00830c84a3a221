#include "base/kept_heap.h"

namespace fernwick {

HANDLE KeptHeap() noexcept {
  // Never destroyed: items freed as the process ends still give their blocks back to it. Where no
  // heap of its own could be made, the process heap serves.
  static const HANDLE heap = [] {
    HANDLE made = ::HeapCreate(0, 0, 0);
    return made ? made : ::GetProcessHeap();
  }();
  return heap;
}

}  // namespace fernwick
