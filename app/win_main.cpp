// The program's entry point: one instance only, the platform libraries around the main window.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "accounts/saved_passwords.h"
#include "app/main_dialog.h"
#include "app/shell_handover.h"
#include "app/single_instance.h"
#include "base/log.h"
#include "base/platform_guards.h"
#include "service/core/transfer_limits.h"

namespace {

// Whether `arguments` hold `name` as one argument, in any case.
bool HasSwitch(const std::vector<std::wstring>& arguments, const wchar_t* name) {
  for (const std::wstring& argument : arguments) {
    if (::lstrcmpiW(argument.c_str(), name) == 0) return true;
  }
  return false;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::vector<std::wstring> paths = fernwick::CommandLinePaths();
  // The uninstaller, told to remove the user's settings, runs the program with this switch
  // before it deletes the program's files: the saved passwords leave the credential store,
  // where nothing else would ever remove them. No window is shown.
  if (HasSwitch(paths, L"/forget-credentials")) {
    fernwick::ForgetAllPasswords();
    return 0;
  }
  // A second start hands its paths to the running window, brings it forward and ends; nothing
  // else is started.
  fernwick::UniqueHandle instanceClaim;
  HWND running = fernwick::FindRunningMainWindow();
  if (!running && fernwick::AnotherInstanceStarted(instanceClaim)) running = fernwick::WaitForMainWindow(10000);
  if (running) {
    if (!paths.empty() && !fernwick::HandPathsTo(running, paths)) {
      fernwick::LogLastError("second start: the running window did not take the paths handed to it");
      fernwick::FlushLog();
    }
    fernwick::ActivateRunningInstance();
    return 0;
  }
  // Runs of the whole program under test find a stall in seconds; only ever lower.
  if (const char* limits = std::getenv(fernwick::kTransferLimitsVariable)) {
    fernwick::SetTransferLimits(fernwick::LoweredTransferLimits(limits));
  }

  fernwick::ComGuard com;
  fernwick::GdiplusGuard gdiplus;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);

  INT_PTR result = 0;
  {
    // Its own scope: the window's GDI+ objects (logo, photos) are released here, before
    // the GdiplusGuard shuts GDI+ down.
    fernwick::MainDialog mainDialog;
    mainDialog.TakePaths(std::move(paths));
    // Past the single-instance check: a second start never touches the batch journal.
    result = mainDialog.Run(::GetActiveWindow(), true);
  }
  return static_cast<int>(result);
}
