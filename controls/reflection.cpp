#include "controls/reflection.h"

namespace fernwick {

namespace {
HWND ControlById(HWND parent, WPARAM id) { return id ? ::GetDlgItem(parent, static_cast<int>(id)) : nullptr; }

HWND SourceControl(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:  // only with a control handle: menus and accelerators have none
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
      return lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_PARENTNOTIFY:
      if (LOWORD(wParam) == WM_CREATE || LOWORD(wParam) == WM_DESTROY) return reinterpret_cast<HWND>(lParam);
      return ControlById(parent, HIWORD(wParam));
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
      return ControlById(parent, wParam);  // id 0 is a menu
    default:
      return nullptr;
  }
}
}  // namespace

bool IsReflectableNotification(UINT message) noexcept {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
      return true;
    default:
      return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
  }
}

bool IsReflectedMessage(UINT message) noexcept {
  return message >= kReflectionOffset && IsReflectableNotification(message - kReflectionOffset);
}

std::optional<LRESULT> ReflectNotification(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND control = SourceControl(parent, message, wParam, lParam);
  // The source must really be a child of this window: a stale handle or a window of another
  // process must never get a message with our pointers in it.
  if (!control || control == parent || ::GetParent(control) != parent) return std::nullopt;
  return ::SendMessageW(control, message + kReflectionOffset, wParam, lParam);
}

}  // namespace fernwick
