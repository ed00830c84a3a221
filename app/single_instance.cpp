#include "app/single_instance.h"

#include <cwchar>

namespace fernwick {

namespace {

// A window property, which another process can read as well.
constexpr wchar_t kMainWindowMark[] = L"Fernwick.MainWindow";
// The system's class of dialog windows, which the main window is.
constexpr wchar_t kDialogClass[] = L"#32770";

BOOL CALLBACK TakeIfOurs(HWND window, LPARAM found) {
  wchar_t text[32] = {};
  if (::GetPropW(window, kMainWindowMark) == nullptr) return TRUE;
  if (::GetClassNameW(window, text, 32) == 0 || std::wcscmp(text, kDialogClass) != 0) return TRUE;
  if (::GetWindowTextW(window, text, 32) == 0 || std::wcscmp(text, kMainWindowCaption) != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

void MarkMainWindow(HWND window) { ::SetPropW(window, kMainWindowMark, reinterpret_cast<HANDLE>(1)); }

void UnmarkMainWindow(HWND window) { ::RemovePropW(window, kMainWindowMark); }

HWND FindRunningMainWindow() {
  HWND found = nullptr;
  ::EnumWindows(TakeIfOurs, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool AnotherInstanceStarted(UniqueHandle& claim) {
  claim.reset(::CreateMutexW(nullptr, FALSE, L"Local\\Fernwick.Instance"));
  return claim && ::GetLastError() == ERROR_ALREADY_EXISTS;
}

HWND WaitForMainWindow(DWORD limitMs) {
  const ULONGLONG end = ::GetTickCount64() + limitMs;
  for (;;) {
    if (HWND found = FindRunningMainWindow()) return found;
    if (::GetTickCount64() >= end) return nullptr;
    ::Sleep(50);
  }
}

bool ActivateRunningInstance() {
  HWND running = FindRunningMainWindow();
  if (!running) return false;
  HWND popup = ::GetLastActivePopup(running);
  if (::IsIconic(running)) ::ShowWindow(running, SW_RESTORE);
  ::SetForegroundWindow(popup ? popup : running);
  return true;
}

}  // namespace fernwick
