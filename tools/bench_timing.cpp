#include "tools/bench_timing.h"

#include <windows.h>

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

double ThreadSeconds(bool kernelOnly) {
  FILETIME created, exited, kernel, user;
  if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  const auto seconds = [](const FILETIME& t) {
    return static_cast<double>(uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + (kernelOnly ? 0 : seconds(user));
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

}  // namespace fernwick::tools
