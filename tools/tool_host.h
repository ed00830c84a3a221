#pragma once
// What the photo tools share: the platform libraries started as the program starts them,
// and a plain top-level window holding a thumbnail view in its whole client area.
#include <windows.h>

#include "base/platform_guards.h"
#include "thumbview/thumbnail_view.h"

namespace fernwick::tools {

// COM, GDI+ and the common controls, and both work directories.
class ToolPlatform {
 public:
  ToolPlatform();

 private:
  ComGuard com_;
  GdiplusGuard gdiplus_;
};

class ToolHost : public ThumbnailViewOwner {
 public:
  ToolHost(const char* title, int width, int height, WNDPROC procedure = ::DefWindowProcA);
  ~ToolHost();
  ToolHost(const ToolHost&) = delete;
  ToolHost& operator=(const ToolHost&) = delete;

  void EnableSelectionButtons(bool) override {}
  HWND hwnd() const noexcept override { return window_; }
  void Show();

  ThumbnailView view;

 private:
  HWND window_ = nullptr;
};

}  // namespace fernwick::tools
