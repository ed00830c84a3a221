#pragma once
// A second thread that shares short bursts of work with the thread that asks: Run hands out the
// pieces of a job to both and returns once every piece is done. The asker waits in Run, so the
// pieces may read what it holds (the window's photos, say), which nothing changes meanwhile.
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>

namespace fernwick {

class SharedWork {
 public:
  SharedWork() = default;
  SharedWork(const SharedWork&) = delete;
  SharedWork& operator=(const SharedWork&) = delete;
  // Ends the helper, which is idle between runs.
  ~SharedWork();

  // Calls piece(i) once for every i below `count`, on this thread and the helper together, in no
  // set order; returns when all have returned. `piece` must not throw. With one processor, or
  // when no thread could be had, every piece runs here.
  void Run(std::size_t count, const std::function<void(std::size_t)>& piece);

 private:
  // Started with the first run of two pieces or more; false when there is none.
  bool HaveHelper();
  void Help() noexcept;
  // Takes pieces of the current run until none is left.
  void TakePieces(const std::function<void(std::size_t)>& piece, std::size_t count) noexcept;

  std::mutex lock_;
  std::condition_variable changed_;
  const std::function<void(std::size_t)>* piece_ = nullptr;  // the run in progress; none between runs
  std::size_t count_ = 0;
  std::size_t next_ = 0;        // the next piece not taken
  unsigned long long run_ = 0;  // counts the runs, so the helper joins each at most once
  bool helping_ = false;        // the helper is taking pieces
  bool quit_ = false;
  bool helperTried_ = false;  // a thread that could not be started is not tried again
  std::thread thread_;
};

}  // namespace fernwick
