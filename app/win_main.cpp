// The program's entry point: one instance only, the platform libraries around the main window.
#include <windows.h>
#include <commctrl.h>

#include "app/main_dialog.h"
#include "base/platform_guards.h"
#include "app/single_instance.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // A second start only brings the running window forward; nothing else is started.
  if (fernwick::ActivateRunningInstance()) return 0;

  fernwick::ComGuard com;
  fernwick::GdiplusGuard gdiplus;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);

  INT_PTR result = 0;
  {
    // Its own scope: the window's GDI+ objects (logo, photos) are released here, before
    // the GdiplusGuard shuts GDI+ down.
    fernwick::MainDialog mainDialog;
    result = mainDialog.Run(::GetActiveWindow());
  }
  return static_cast<int>(result);
}
