#include "base/log_writer.h"

#include <windows.h>

// Not <chrono>: its unit names have a character code page 936 lacks; <condition_variable>
// brings the durations.
#include <thread>
#include <utility>

#include "base/background_work.h"
#include "base/log_file.h"

namespace fernwick {

LogStamp LocalLogStamp() noexcept {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return LogStamp{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

LogWriter::LogWriter() noexcept {
  running_ = true;
  // A writer that cannot start leaves the log off; there is no log yet to tell it to.
  if (!StartDetached([this] { Run(); }, "log writer")) running_ = false;
}

void LogWriter::Push(std::string line) noexcept {
  try {
    std::lock_guard guard(lock_);
    if (!running_) return;
    if (queue_.size() >= kMaxQueuedLines) {
      ++dropped_;
      return;
    }
    queue_.push_back(std::move(line));
    ++pushed_;
  } catch (...) {
    // No memory for one more line: it is lost, nothing else.
    return;
  }
  wake_.notify_one();
}

bool LogWriter::Flush(unsigned long limitMs) noexcept {
  try {
    std::unique_lock guard(lock_);
    const std::uint64_t target = pushed_;
    return written_.wait_for(guard, std::chrono::milliseconds(limitMs),
                             [&] { return !running_ || done_ >= target; });
  } catch (...) {
    return false;
  }
}

void LogWriter::SetFolder(std::wstring folder) {
  std::lock_guard guard(lock_);
  folder_ = std::move(folder);
}

std::wstring LogWriter::folder() const {
  std::lock_guard guard(lock_);
  return folder_;
}

void LogWriter::Run() noexcept {
  // Worked out once, here, so that no caller pays for the shell's look-up.
  std::wstring defaultFolder;
  try {
    defaultFolder = DefaultLogFolder();
  } catch (...) {
  }
  for (;;) {
    std::vector<std::string> batch;
    std::uint64_t dropped = 0;
    std::wstring folder;
    try {
      std::unique_lock guard(lock_);
      wake_.wait(guard, [this] { return !queue_.empty() || dropped_ > 0; });
      batch.swap(queue_);
      dropped = std::exchange(dropped_, 0);
      folder = folder_.empty() ? defaultFolder : folder_;
    } catch (...) {
      continue;
    }
    const std::size_t count = batch.size();
    try {
      if (dropped > 0) {
        batch.push_back(FormatLogLine(LocalLogStamp(), ::GetCurrentThreadId(), LogLevel::kWarning,
                                      std::to_string(dropped) + " lines dropped: the disk did not keep up"));
      }
      AppendLogLines(folder, batch);
    } catch (...) {
      // The lines are lost; the log goes on with the next ones.
    }
    {
      std::lock_guard guard(lock_);
      done_ += count;
    }
    written_.notify_all();
  }
}

}  // namespace fernwick
