#include "base/browser_launch.h"

#include <shellapi.h>

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
  const HINSTANCE result = ::ShellExecuteA(owner, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool RunCommandLine(const std::string& commandLine) {
  if (BrowserLauncher launcher = InstalledLauncher()) {
    return launcher(BrowserLaunchRequest{BrowserLaunchRequest::Kind::kCommandLine, commandLine});
  }
  return ::WinExec(commandLine.c_str(), SW_SHOW) > 31;
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
