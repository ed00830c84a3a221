#include "program_runner.h"

#include <vector>

#include "window_helpers.h"

namespace fernwick::test {

std::wstring ProgramPath() {
  // Test programs live in tests/win/ of the Windows build folder, the program at its top.
  wchar_t module[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring path = module;
  path.erase(path.find_last_of(L'\\') + 1);
  path += L"..\\..\\fernwick.exe";
  wchar_t full[MAX_PATH] = {};
  ::GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
  return full;
}

ProgramRun::~ProgramRun() {
  if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_.get(), 99);
    ::WaitForSingleObject(process_.get(), 5000);
  }
}

bool ProgramRun::Start(const std::vector<std::wstring>& arguments) {
  std::wstring commandLine = L"\"" + program_ + L"\"";
  for (const std::wstring& argument : arguments) commandLine += L" \"" + argument + L"\"";
  std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(L'\0');
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(program_.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
    return false;
  }
  ::CloseHandle(info.hThread);
  process_.reset(info.hProcess);
  processId_ = info.dwProcessId;
  return true;
}

HWND ProgramRun::WaitForWindow(const wchar_t* title, DWORD limitMs) {
  if (!process_) return nullptr;
  const ULONGLONG end = ::GetTickCount64() + limitMs;
  ::WaitForInputIdle(process_.get(), limitMs);
  do {
    auto windows = TopLevelWindowsOfProcess(processId_, title);
    if (!windows.empty() && ::IsWindowVisible(windows.front())) return windows.front();
    if (::WaitForSingleObject(process_.get(), 50) == WAIT_OBJECT_0) return nullptr;
  } while (::GetTickCount64() < end);
  return nullptr;
}

bool ProgramRun::WaitForExit(DWORD& exitCode, DWORD limitMs) {
  if (!process_ || ::WaitForSingleObject(process_.get(), limitMs) != WAIT_OBJECT_0) return false;
  return ::GetExitCodeProcess(process_.get(), &exitCode) != FALSE;
}

}  // namespace fernwick::test
