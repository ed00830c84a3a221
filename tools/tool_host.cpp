#include "tools/tool_host.h"

#include <algorithm>

#include <commctrl.h>
#include <shellapi.h>

#include "base/ui_task.h"
#include "base/work_directories.h"

namespace fernwick::tools {

double Now() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

ToolPlatform::ToolPlatform() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  CreateWorkDirectories();
}

LRESULT CALLBACK ToolHostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (UiTaskChannel::Run(message, wParam, lParam)) return 0;
  return ::DefWindowProcA(window, message, wParam, lParam);
}

ToolHost::ToolHost(const char* title, int width, int height, WNDPROC procedure) {
  WNDCLASSEXA wc{sizeof(wc)};
  wc.lpfnWndProc = procedure;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = "FernwickToolHost";
  ::RegisterClassExA(&wc);
  RECT frame{0, 0, width, height};
  ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  window_ =
      ::CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20,
                        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, wc.hInstance, nullptr);
  view.Create(window_, RECT{0, 0, width, height}, WS_CHILD | WS_VISIBLE);
  view.CreateTooltip();
  ::DragAcceptFiles(view.hwnd(), TRUE);
}

ToolHost::~ToolHost() {
  if (::IsWindow(window_)) ::DestroyWindow(window_);
}

void ToolHost::Show() {
  ::ShowWindow(window_, SW_SHOW);
  ::UpdateWindow(window_);
}

}  // namespace fernwick::tools
