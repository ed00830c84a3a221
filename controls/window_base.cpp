#include "controls/window_base.h"

#include <commctrl.h>

#include "base/module.h"
#include "base/log.h"

namespace fernwick {

namespace {
constexpr UINT_PTR kSubclassId = 0x4657;  // any constant unique to this base
}

WindowBase::~WindowBase() {
  if (hwnd_) {
    HWND window = hwnd_;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    ::DestroyWindow(window);
  }
}

bool WindowBase::RegisterWindowClass(const wchar_t* className, UINT classStyle, HBRUSH background, HCURSOR cursor) {
  WNDCLASSEXW existing{sizeof(existing)};
  if (::GetClassInfoExW(ModuleInstance(), className, &existing)) return true;
  WNDCLASSEXW wc{sizeof(wc)};
  wc.style = classStyle;
  wc.lpfnWndProc = &WindowBase::StaticProc;
  wc.hInstance = ModuleInstance();
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  return ::RegisterClassExW(&wc) != 0;
}

HWND WindowBase::CreateWindowOfClass(const wchar_t* className, DWORD exStyle, DWORD style, const RECT& rect,
                                     HWND parent, UINT id) {
  return ::CreateWindowExW(exStyle, className, L"", style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                           ModuleInstance(), this);
}

LRESULT CALLBACK WindowBase::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  WindowBase* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);

  std::optional<LRESULT> handled;
  try {
    handled = self->OnMessage(message, wParam, lParam);
  } catch (...) {
    LogCaughtException("window procedure");
    handled.reset();
  }
  const LRESULT result = handled ? *handled : ::DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

SubclassBase::~SubclassBase() { Detach(); }

bool SubclassBase::Attach(HWND window) {
  if (hwnd_ || !window) return false;
  if (!::SetWindowSubclass(window, &SubclassBase::StaticProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    return false;
  }
  hwnd_ = window;
  OnAttached();
  return true;
}

void SubclassBase::Detach() {
  if (!hwnd_) return;
  ::RemoveWindowSubclass(hwnd_, &SubclassBase::StaticProc, kSubclassId);
  hwnd_ = nullptr;
}

LRESULT SubclassBase::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefSubclassProc(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK SubclassBase::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR refData) noexcept {
  auto* self = reinterpret_cast<SubclassBase*>(refData);
  std::optional<LRESULT> handled;
  try {
    handled = self->OnMessage(message, wParam, lParam);
  } catch (...) {
    LogCaughtException("window procedure");
    handled.reset();
  }
  const LRESULT result = handled ? *handled : ::DefSubclassProc(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) self->Detach();
  return result;
}

}  // namespace fernwick
