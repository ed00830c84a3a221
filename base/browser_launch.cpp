#include "base/browser_launch.h"

#include <shellapi.h>

#include "base/handles.h"
#include "base/log.h"
#include "base/text_936.h"

#include <mutex>
#include <utility>

namespace fernwick {

namespace {
// The test seam: process-wide by nature, like the prompt answerer.
std::mutex& LauncherLock() {
  static std::mutex lock;
  return lock;
}
BrowserLauncher& Launcher() {
  static BrowserLauncher launcher;
  return launcher;
}
BrowserLauncher InstalledLauncher() {
  std::lock_guard guard(LauncherLock());
  return Launcher();
}
}  // namespace

bool ShellOpen(HWND owner, const std::string& target) {
  if (BrowserLauncher launcher = InstalledLauncher()) {
    return launcher(BrowserLaunchRequest{BrowserLaunchRequest::Kind::kShellOpen, target});
  }
  const HINSTANCE result =
      ::ShellExecuteW(owner, L"open", WideFromUtf8(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  const INT_PTR code = reinterpret_cast<INT_PTR>(result);
  if (code > 32) return true;
  // Its value is its error code (SE_ERR_*), not GetLastError's.
  LogSystemFailure("browser: ShellExecute cannot open the address", static_cast<unsigned long>(code));
  return false;
}

bool RunCommandLine(const std::string& commandLine) {
  if (BrowserLauncher launcher = InstalledLauncher()) {
    return launcher(BrowserLaunchRequest{BrowserLaunchRequest::Kind::kCommandLine, commandLine});
  }
  // What WinExec does, through the wide function: the command line may name a folder that the
  // system's code page cannot hold.
  std::wstring line = WideFromUtf8(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    LogLastError("browser: the HTML handler cannot be started");
    return false;
  }
  UniqueHandle process(started.hProcess);
  UniqueHandle thread(started.hThread);
  return true;
}

ScopedBrowserLauncher::ScopedBrowserLauncher(BrowserLauncher launcher) {
  std::lock_guard guard(LauncherLock());
  previous_ = std::exchange(Launcher(), std::move(launcher));
}

ScopedBrowserLauncher::~ScopedBrowserLauncher() {
  std::lock_guard guard(LauncherLock());
  Launcher() = std::move(previous_);
}

}  // namespace fernwick
