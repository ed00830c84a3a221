#include "accounts/waiting_controls.h"

#include <utility>

namespace fernwick {

void WaitingControls::Begin(HWND dialog, std::vector<int> ids) {
  dialog_ = dialog;
  ids_ = std::move(ids);
  focus_ = ::GetFocus();
  for (int id : ids_) ::EnableWindow(::GetDlgItem(dialog_, id), FALSE);
  // A disabled control loses the focus to nobody, and the dialog would no longer hear Escape.
  if (!::GetFocus()) ::SetFocus(dialog_);
  // The pointer changes at its next move; one resting on the dialog shows the wait at once.
  POINT at{};
  HWND under = ::GetCursorPos(&at) ? ::WindowFromPoint(at) : nullptr;
  if (under && (under == dialog_ || ::IsChild(dialog_, under))) ShowBusyPointer();
}

void WaitingControls::End() {
  if (!dialog_) return;
  HWND dialog = dialog_;
  dialog_ = nullptr;
  for (int id : ids_) ::EnableWindow(::GetDlgItem(dialog, id), TRUE);
  if (focus_ && ::IsChild(dialog, focus_) && ::IsWindowEnabled(focus_)) {
    ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus_), TRUE);
  }
  focus_ = nullptr;
}

bool WaitingControls::ShowBusyPointer() const {
  if (!dialog_) return false;
  // The arrow with the hourglass: busy, yet the dialog still takes clicks (Cancel).
  ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32650)));  // IDC_APPSTARTING
  return true;
}

}  // namespace fernwick
