#include "tools/bench_timing.h"

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace fernwick::tools {

double WallSeconds() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

namespace {
double FileTimeSeconds(const FILETIME& t) {
  return static_cast<double>(uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 1e7;
}
}  // namespace

double ThreadSeconds(bool kernelOnly) {
  FILETIME created, exited, kernel, user;
  if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  return FileTimeSeconds(kernel) + (kernelOnly ? 0 : FileTimeSeconds(user));
}

double ProcessSeconds() {
  FILETIME created, exited, kernel, user;
  if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  return FileTimeSeconds(kernel) + FileTimeSeconds(user);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

double MedianMs(int runs, const std::function<bool()>& work, const std::function<double()>& clock) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double start = clock();
    if (!work()) return -1;
    times.push_back((clock() - start) * 1000);
  }
  return Median(std::move(times));
}

Memory ProcessMemory() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
  const SIZE_T committed = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
  return {committed / 1048576.0, counters.WorkingSetSize / 1048576.0};
}

HeapFigures WalkHeaps() {
  std::vector<HANDLE> heaps(::GetProcessHeaps(0, nullptr) + 8);
  heaps.resize(::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
  HeapFigures bytes;
  for (HANDLE heap : heaps) {
    if (!::HeapLock(heap)) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (::HeapWalk(heap, &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
        bytes.used += entry.cbData;
        bytes.overhead += entry.cbOverhead;
        ++bytes.blocks;
      } else if (!(entry.wFlags & (PROCESS_HEAP_REGION | PROCESS_HEAP_UNCOMMITTED_RANGE))) {
        bytes.free += entry.cbData;
      }
    }
    ::HeapUnlock(heap);
  }
  return bytes;
}

}  // namespace fernwick::tools
