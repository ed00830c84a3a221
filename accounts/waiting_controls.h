#pragma once
// A dialog that waits for the server: the controls that would start or change the request are
// disabled meanwhile, the pointer over the dialog shows that work goes on in the background,
// and the keyboard focus comes back to where it was. The dialog itself stays responsive (it can
// be moved, repainted, cancelled).
#include <windows.h>

#include <vector>

namespace fernwick {

class WaitingControls {
 public:
  // Disables the dialog's controls `ids` until End.
  void Begin(HWND dialog, std::vector<int> ids);
  // Enables them again and gives the focus back; nothing when not waiting.
  void End();
  bool waiting() const noexcept { return dialog_ != nullptr; }
  // For the dialog's WM_SETCURSOR: while waiting, shows the busy pointer and returns true.
  bool ShowBusyPointer() const;

 private:
  HWND dialog_ = nullptr;
  std::vector<int> ids_;
  HWND focus_ = nullptr;
};

}  // namespace fernwick
