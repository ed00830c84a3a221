#pragma once
// Runs the real fernwick.exe of the build as a separate process (same Wine prefix) and
// watches it from outside: its windows, its exit.
#include <windows.h>

#include <string>
#include <vector>

#include "base/handles.h"

namespace fernwick::test {

// fernwick.exe of the build this test program belongs to.
std::wstring ProgramPath();

class ProgramRun {
 public:
  explicit ProgramRun(std::wstring program = ProgramPath()) : program_(std::move(program)) {}
  ~ProgramRun();  // ends the process if it still runs
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  // Starts the program with `arguments`, each quoted.
  bool Start(const std::vector<std::wstring>& arguments = {});
  DWORD processId() const noexcept { return processId_; }
  // The process's top-level window titled `title`, once the process is idle and has one;
  // null when it has none within `limitMs` (a failure bound, not a pace).
  HWND WaitForWindow(const wchar_t* title, DWORD limitMs = 20000);
  // True with the exit code when the process ended within `limitMs`.
  bool WaitForExit(DWORD& exitCode, DWORD limitMs = 20000);

 private:
  std::wstring program_;
  UniqueHandle process_;
  DWORD processId_ = 0;
};

}  // namespace fernwick::test
