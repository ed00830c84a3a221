#pragma once
// What the photo tools share: the platform libraries started as the program starts them,
// and a plain top-level window holding a thumbnail view of its own photo list in its whole
// client area.
#include <windows.h>

#include <vector>

#include "base/platform_guards.h"
#include "thumbview/thumbnail_view.h"

namespace fernwick::tools {

// Seconds on the performance counter, and the median of some timings (0 for none).
double Now();
double Median(std::vector<double> values);

// COM, GDI+ and the common controls, and both work directories.
class ToolPlatform {
 public:
  ToolPlatform();

 private:
  ComGuard com_;
  GdiplusGuard gdiplus_;
};

// The host window's own procedure: runs the tasks workers hand to it, the rest as DefWindowProcA.
LRESULT CALLBACK ToolHostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class ToolHost {
 public:
  ToolHost(const char* title, int width, int height, WNDPROC procedure = ToolHostProcedure);
  ~ToolHost();
  ToolHost(const ToolHost&) = delete;
  ToolHost& operator=(const ToolHost&) = delete;

  HWND hwnd() const noexcept { return window_; }
  void Show();

  PhotoList photos;
  ThumbnailView view{photos};

 private:
  HWND window_ = nullptr;
};

}  // namespace fernwick::tools
