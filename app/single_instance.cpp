#include "app/single_instance.h"

namespace fernwick {

bool ActivateRunningInstance() {
  HWND running = ::FindWindowW(nullptr, kMainWindowCaption);
  if (!running) return false;
  HWND popup = ::GetLastActivePopup(running);
  if (::IsIconic(running)) ::ShowWindow(running, SW_RESTORE);
  ::SetForegroundWindow(popup ? popup : running);
  return true;
}

}  // namespace fernwick
