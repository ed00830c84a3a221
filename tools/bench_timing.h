#pragma once
// Timing for the benchmark tools: the wall clock, the calling thread's processor time, the
// median of several runs of a piece of work; and the process's memory.
#include <cstddef>
#include <functional>
#include <vector>

namespace fernwick::tools {

double WallSeconds();
// The calling thread's processor time: on a machine busy with other work, only what this thread
// spends is the work's own cost. Kernel time alone with `kernelOnly` (under Wine, what page
// faults and server calls cost).
double ThreadSeconds(bool kernelOnly = false);
// The whole process's processor time, every thread's: over a stretch of wall time, how many of
// the processors it kept busy.
double ProcessSeconds();

// The median of some timings (0 for none).
double Median(std::vector<double> values);
// Milliseconds by `clock` (seconds), the median of `runs`; -1 when the work fails.
double MedianMs(int runs, const std::function<bool()>& work, const std::function<double()>& clock = WallSeconds);

struct Memory {
  double committed = 0;  // MB
  double workingSet = 0;
};
Memory ProcessMemory();

// The process's heaps, block by block: what the blocks in use hold, what the heap adds to each
// (its header and rounding), and the memory committed to the heaps but free (holes left by
// blocks freed between those kept).
struct HeapFigures {
  double used = 0, overhead = 0, free = 0, blocks = 0;
};
HeapFigures WalkHeaps();

}  // namespace fernwick::tools
