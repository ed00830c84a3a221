#pragma once
// Timing for the benchmark tools: the wall clock, the calling thread's processor time, and the
// median of several runs of a piece of work.
#include <functional>
#include <vector>

namespace fernwick::tools {

double WallSeconds();
// The calling thread's processor time: on a machine busy with other work, only what this thread
// spends is the work's own cost. Kernel time alone with `kernelOnly` (under Wine, what page
// faults and server calls cost).
double ThreadSeconds(bool kernelOnly = false);

// The median of some timings (0 for none).
double Median(std::vector<double> values);
// Milliseconds by `clock` (seconds), the median of `runs`; -1 when the work fails.
double MedianMs(int runs, const std::function<bool()>& work, const std::function<double()>& clock = WallSeconds);

}  // namespace fernwick::tools
