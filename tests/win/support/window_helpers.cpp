#include "window_helpers.h"

#include <gtest/gtest.h>

#include <iterator>

#include "base/ui_task.h"

namespace fernwick::test {

void Command(HWND window, int id) {
  ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(window, id)));
}

void PressThenPump(HWND window, int id, const std::function<bool()>& settled) {
  ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  EXPECT_TRUE(PumpUntil(settled)) << "no answer";
}

bool Visible(HWND window) { return (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

LRESULT CALLBACK TaskWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (UiTaskChannel::Run(message, wParam, lParam)) return 0;
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void PumpPendingMessages() {
  MSG message{};
  // Bounded, so a window that keeps posting to itself cannot hang a test.
  for (int i = 0; i < 10000 && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
  const ULONGLONG start = ::GetTickCount64();
  while (!done()) {
    if (::GetTickCount64() - start > milliseconds) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpPendingMessages();
  }
  return true;
}

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  ::GetWindowTextW(window, text, static_cast<int>(std::size(text)));
  return text;
}

std::string ClassName(HWND window) {
  char name[256] = {};
  ::GetClassNameA(window, name, sizeof(name));
  return name;
}

RECT RectInParent(HWND child) {
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

POINT ScreenCentre(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

namespace {
std::wstring ShownTooltipText() {
  std::wstring shown;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM found) -> BOOL {
        if (ClassName(window) != "tooltips_class32" || !::IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<std::wstring*>(found) = WindowText(window);
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&shown));
  return shown;
}

// Pumps for at most `limitMs` (a failure bound, not a pace) until `done` holds.
template <class Done>
void PumpUntil(Done done, DWORD limitMs) {
  const DWORD start = ::GetTickCount();
  while (!done() && ::GetTickCount() - start < limitMs) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    PumpPendingMessages();
  }
}
}  // namespace

std::wstring TooltipAfterResting(HWND window, POINT point) {
  ::SetCursorPos(0, 0);
  PumpUntil([] { return ShownTooltipText().empty(); }, 3000);
  POINT screen = point;
  ::ClientToScreen(window, &screen);
  ::SetCursorPos(screen.x, screen.y);
  ::PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
  std::wstring shown;
  PumpUntil([&] { return !(shown = ShownTooltipText()).empty(); }, 5000);
  return shown;
}

namespace {
struct TitleSearch {
  const wchar_t* title;
  DWORD processId;  // 0: any
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTitled(HWND window, LPARAM lParam) {
  auto& search = *reinterpret_cast<TitleSearch*>(lParam);
  if (search.processId) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId) return TRUE;
  }
  if (WindowText(window) == search.title) search.found.push_back(window);
  return TRUE;
}
}  // namespace

std::vector<HWND> TopLevelWindowsTitled(const wchar_t* title) { return TopLevelWindowsOfProcess(0, title); }

std::vector<HWND> TopLevelWindowsOfProcess(DWORD processId, const wchar_t* title) {
  TitleSearch search{title, processId, {}};
  ::EnumWindows(&CollectTitled, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void Click(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
  ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
  ::SendMessageA(window, WM_LBUTTONUP, 0, middle);
}

SIZE ScrollContentSize(HWND window) {
  SCROLLINFO across{sizeof(across), SIF_RANGE};
  SCROLLINFO down{sizeof(down), SIF_RANGE};
  ::GetScrollInfo(window, SB_HORZ, &across);
  ::GetScrollInfo(window, SB_VERT, &down);
  return {across.nMax + 1, down.nMax + 1};
}

void SetClientSize(HWND window, int width, int height) {
  RECT rect{0, 0, width, height};
  ::AdjustWindowRectEx(&rect, static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongA(window, GWL_EXSTYLE)));
  ::SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateTestWindow(const char* className, WNDPROC procedure, DWORD style, HWND parent, int id, RECT rect,
                      const char* title) {
  WNDCLASSA windowClass{};
  if (!::GetClassInfoA(::GetModuleHandleA(nullptr), className, &windowClass)) {
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    ::RegisterClassA(&windowClass);
  }
  return ::CreateWindowExA(0, className, title, style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           ::GetModuleHandleA(nullptr), nullptr);
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

}  // namespace fernwick::test
