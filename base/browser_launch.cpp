#include "base/browser_launch.h"

#include <shellapi.h>

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
  const UINT code = ::WinExec(commandLine.c_str(), SW_SHOW);
  if (code > 31) return true;
  LogSystemFailure("browser: the HTML handler cannot be started", code);
  return false;
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
