// Work shared between the asking thread and a helper: every piece runs once per run, the helper
// takes its part, and nothing of a run is still running when Run returns.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <vector>

#include "base/shared_work.h"

namespace fernwick {
namespace {

TEST(SharedWork, EveryPieceRunsOnceAndIsDoneWhenRunReturns) {
  SharedWork work;
  std::set<DWORD> threads;
  for (const std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{7}, std::size_t{64}}) {
    for (int run = 0; run < 50; ++run) {
      std::vector<std::atomic<int>> runs(count);
      std::vector<DWORD> by(count);
      work.Run(count, [&](std::size_t piece) {
        if (run == 0) ::Sleep(2);  // long enough for the helper to join
        by[piece] = ::GetCurrentThreadId();
        ++runs[piece];
      });
      for (std::size_t piece = 0; piece < count; ++piece) {
        ASSERT_EQ(runs[piece].load(), 1) << count << " pieces, run " << run << ", piece " << piece;
        threads.insert(by[piece]);
      }
    }
  }
  SYSTEM_INFO system{};
  ::GetSystemInfo(&system);
  EXPECT_EQ(threads.size(), system.dwNumberOfProcessors > 1 ? 2u : 1u);
}

}  // namespace
}  // namespace fernwick
