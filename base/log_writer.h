#pragma once
// The log's background writer: callers hand it finished lines and go on; its own thread puts
// them in the file, so no caller (the UI thread above all) ever waits on the disk.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "base/core/log_line.h"

namespace fernwick {

// The moment of the call in local time.
LogStamp LocalLogStamp() noexcept;

class LogWriter {
 public:
  // Lines waiting beyond this many are dropped (and counted in the file) rather than let a
  // stalled disk grow the queue without end.
  static constexpr std::size_t kMaxQueuedLines = 4096;

  // Starts the thread; when the system refuses one the log is off. The thread holds `this`
  // until the process ends, so a writer must never be destroyed (see base/log.cpp).
  LogWriter() noexcept;
  LogWriter(const LogWriter&) = delete;
  LogWriter& operator=(const LogWriter&) = delete;

  // Costs a lock held only for queue swaps, never for the disk.
  void Push(std::string line) noexcept;
  // See FlushLog.
  bool Flush(unsigned long limitMs) noexcept;
  // Empty: the default folder.
  void SetFolder(std::wstring folder);
  std::wstring folder() const;

 private:
  void Run() noexcept;

  mutable std::mutex lock_;
  std::condition_variable wake_;
  std::condition_variable written_;
  std::vector<std::string> queue_;
  std::uint64_t pushed_ = 0;
  std::uint64_t done_ = 0;
  std::uint64_t dropped_ = 0;
  bool running_ = false;
  std::wstring folder_;
};

}  // namespace fernwick
