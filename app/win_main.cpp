#include <windows.h>

#include "app/module.h"

namespace {
INT_PTR CALLBACK PlaceholderProc(HWND h, UINT m, WPARAM, LPARAM) {
  if (m == WM_CLOSE) ::EndDialog(h, 1);
  return m == WM_INITDIALOG;
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return static_cast<int>(
      ::DialogBoxParamA(fernwick::ModuleInstance(), MAKEINTRESOURCEA(129), nullptr, PlaceholderProc, 0));
}
