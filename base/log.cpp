#include "base/log.h"

#include <windows.h>

#include <exception>

#include "base/log_writer.h"

namespace fernwick {

namespace {

// Never destroyed: a detached thread (the start-up sign-in, say) may still log while the
// process ends, and the writer's thread holds the object to the end.
union ImmortalWriter {
  LogWriter writer;
  ImmortalWriter() : writer() {}
  ~ImmortalWriter() {}
};

// At a normal end of the program the lines still queued get a moment to reach the file.
struct FlushAtExit {
  LogWriter& writer;
  ~FlushAtExit() { writer.Flush(2000); }
};

LogWriter& Writer() {
  static ImmortalWriter holder;
  static FlushAtExit flushAtExit{holder.writer};
  return holder.writer;
}

void Write(LogLevel level, std::string_view text) noexcept {
  try {
    Writer().Push(FormatLogLine(LocalLogStamp(), ::GetCurrentThreadId(), level, text));
  } catch (...) {
    // A log that cannot take a line is off for that line.
  }
}

std::wstring WithoutTrailingSeparators(std::wstring folder) {
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  return folder;
}

}  // namespace

void LogInfo(LogText what) noexcept { Write(LogLevel::kInfo, what.view()); }

void LogFailure(LogText what) noexcept { Write(LogLevel::kWarning, what.view()); }

void LogLastError(LogText what) noexcept {
  const DWORD error = ::GetLastError();
  LogSystemFailure(what, error);
  ::SetLastError(error);
}

void LogSystemFailure(LogText what, unsigned long systemError) noexcept {
  try {
    Write(LogLevel::kWarning, DescribeSystemFailure(what.view(), systemError));
  } catch (...) {
  }
}

void LogCaughtException(LogText where) noexcept {
  try {
    Write(LogLevel::kError, DescribeException(where.view(), std::current_exception()));
  } catch (...) {
  }
}

void LogRequest(LogText request, int httpStatus, int result, unsigned long systemError) noexcept {
  try {
    // An upload answered with another status still has the result 0; it is a warning all the same.
    const bool fine = result == 0 && httpStatus == 200;
    Write(fine ? LogLevel::kInfo : LogLevel::kWarning, DescribeRequest(request.view(), httpStatus, result, systemError));
  } catch (...) {
  }
}

void LogBatchOutcome(int sent, int failed, int result) noexcept {
  try {
    Write(result == 0 && failed == 0 ? LogLevel::kInfo : LogLevel::kWarning, DescribeBatch(sent, failed, result));
  } catch (...) {
  }
}

bool FlushLog(unsigned long limitMs) noexcept { return Writer().Flush(limitMs); }

ScopedLogFolder::ScopedLogFolder(const std::wstring& folder) {
  // What was logged before belongs in the folder of before.
  Writer().Flush(5000);
  Writer().SetFolder(WithoutTrailingSeparators(folder));
}

ScopedLogFolder::~ScopedLogFolder() {
  Writer().Flush(5000);
  try {
    Writer().SetFolder(std::wstring());
  } catch (...) {
  }
}

}  // namespace fernwick
