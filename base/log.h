#pragma once
// The program's log, for what the user is not told: %LOCALAPPDATA%\Fernwick\fernwick.log,
// turned over to fernwick.log.1 at 256 KB (see docs/errors.md for what goes in it).
//
// Any thread may call these; none of them waits for the disk (a background thread writes) and
// none of them can fail: a log that cannot be written is simply off. What a line says is a
// string literal and numbers, nothing else, so no password, token or other text from the user
// or the server can be put in it:
//
//   if (!::DeleteFileW(path.c_str())) LogLastError("work directories: a file cannot be deleted");
//   LogRequest("sign-in", exchange.httpStatus, result);
//   catch (...) { LogCaughtException("upload worker"); }
#include <string>

#include "base/core/log_line.h"

namespace fernwick {

void LogInfo(LogText what) noexcept;
// A failure the program passes over, with no system error code to tell.
void LogFailure(LogText what) noexcept;
// A failure the program passes over, with GetLastError's value at the moment of the call.
void LogLastError(LogText what) noexcept;
// The same with an error code the caller has (a registry result, ShellExecute's value).
void LogSystemFailure(LogText what, unsigned long systemError) noexcept;
// Inside a catch block: where it was caught and what kind of exception it is (never its text).
void LogCaughtException(LogText where) noexcept;
// One request to the upload server: its name, the HTTP status (0: none came), the result code,
// and the system error when the request could not be made or sent. Anything but HTTP 200 with
// result 0 is a warning.
void LogRequest(LogText request, int httpStatus, int result, unsigned long systemError = 0) noexcept;
// The end of an upload batch: photos that arrived, photos that did not, the batch's result code.
void LogBatchOutcome(int sent, int failed, int result) noexcept;

// Waits (at most `limitMs`) until every line logged before the call is in the file, or known
// to be lost because the file cannot be written. False when the time ran out.
bool FlushLog(unsigned long limitMs = 5000) noexcept;

// Tests only: the log goes to `folder` for the object's lifetime instead
// of the user's folder. Programs a test starts are pointed elsewhere with the environment
// variable FERNWICK_LOG_DIR.
class ScopedLogFolder {
 public:
  explicit ScopedLogFolder(const std::wstring& folder);
  ~ScopedLogFolder();
  ScopedLogFolder(const ScopedLogFolder&) = delete;
  ScopedLogFolder& operator=(const ScopedLogFolder&) = delete;
};

}  // namespace fernwick
