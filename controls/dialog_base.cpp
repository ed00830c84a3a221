#include "controls/dialog_base.h"

#include "base/module.h"
#include "base/log.h"

namespace fernwick {

DialogBase::~DialogBase() {
  if (hwnd_) {
    HWND window = hwnd_;
    ::SetWindowLongPtrW(window, DWLP_USER, 0);
    hwnd_ = nullptr;
    ::DestroyWindow(window);
  }
}

INT_PTR DialogBase::RunModal(int templateId, HWND owner) {
  return ::DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(templateId), owner, &DialogBase::StaticProc,
                           reinterpret_cast<LPARAM>(this));
}

HWND DialogBase::CreateModeless(int templateId, HWND parent) {
  return ::CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(templateId), parent, &DialogBase::StaticProc,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogBase::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  DialogBase* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<DialogBase*>(lParam);
    ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    if (self) self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<DialogBase*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  if (!self) return FALSE;

  INT_PTR handled = FALSE;
  try {
    std::optional<LRESULT> result = self->OnMessage(message, wParam, lParam);
    if (result) {
      switch (message) {
        // These messages return their value directly instead of through DWLP_MSGRESULT.
        case WM_INITDIALOG:
        case WM_CHARTOITEM:
        case WM_COMPAREITEM:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_QUERYDRAGICON:
        case WM_VKEYTOITEM:
          handled = static_cast<INT_PTR>(*result);
          break;
        default:
          ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, static_cast<LONG_PTR>(*result));
          handled = TRUE;
          break;
      }
    }
  } catch (...) {
    LogCaughtException("dialog procedure");
    // A failure inside one handler must not unwind through the system's dialog manager.
    handled = FALSE;
  }

  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
    try {
      self->OnWindowGone();
    } catch (...) {
      LogCaughtException("dialog procedure");
    }
  }
  return handled;
}

void CenterWindowOver(HWND window, HWND over) {
  RECT area{};
  if (over) {
    ::GetClientRect(over, &area);
    ::MapWindowPoints(over, nullptr, reinterpret_cast<POINT*>(&area), 2);
  } else {
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT rc{};
  ::GetWindowRect(window, &rc);
  const int width = rc.right - rc.left;
  const int height = rc.bottom - rc.top;
  int x = area.left + ((area.right - area.left) - width) / 2;
  int y = area.top + ((area.bottom - area.top) - height) / 2;
  // Keep it inside the area, preferring the top left corner when it is larger.
  if (x + width > area.right) x = area.right - width;
  if (y + height > area.bottom) y = area.bottom - height;
  if (x < area.left) x = area.left;
  if (y < area.top) y = area.top;
  POINT pt{x, y};
  if (HWND parent = ::GetParent(window); parent && (::GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) {
    ::ScreenToClient(parent, &pt);
  }
  ::SetWindowPos(window, nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace fernwick
