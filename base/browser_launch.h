#pragma once
// Every start of another program (the browser) goes through here, so that tests can see what
// would be started and answer for the system without starting anything.
#include <windows.h>

#include <functional>
#include <string>

namespace fernwick {

struct BrowserLaunchRequest {
  enum class Kind { kShellOpen, kCommandLine };
  Kind kind = Kind::kShellOpen;
  // The address for ShellExecuteW "open" (UTF-8: addresses are plain text, any character of a
  // link's caption survives), or the whole command line (UTF-8 too).
  std::string text;
};

// Returns whether the launch succeeded.
using BrowserLauncher = std::function<bool(const BrowserLaunchRequest&)>;

// ShellExecuteW(owner, "open", target, no parameters, no directory, SW_SHOWNORMAL); success is a
// result above 32.
bool ShellOpen(HWND owner, const std::string& target);
// Starts `commandLine` as WinExec(commandLine, SW_SHOW) would, through CreateProcessW; true when
// the process was started.
bool RunCommandLine(const std::string& commandLine);

// Installs a launcher for its lifetime (tests only); the previous one comes back after.
class ScopedBrowserLauncher {
 public:
  explicit ScopedBrowserLauncher(BrowserLauncher launcher);
  ~ScopedBrowserLauncher();
  ScopedBrowserLauncher(const ScopedBrowserLauncher&) = delete;
  ScopedBrowserLauncher& operator=(const ScopedBrowserLauncher&) = delete;

 private:
  BrowserLauncher previous_;
};

}  // namespace fernwick
