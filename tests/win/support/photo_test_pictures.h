#pragma once
// Pictures made by the tests themselves, the work directories, and a stand-in for the main
// window that the thumbnail view reports its selection to.
#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <string>
#include <vector>

#include "controls/gdiplus_handles.h"
#include "controls/handles.h"
#include "thumbview/thumbnail_view.h"

namespace fernwick::test {

// Four quadrants of distinct colours, so that a turn or a flip can be read back.
inline constexpr Gdiplus::ARGB kTopLeft = 0xFFFF0000;      // red
inline constexpr Gdiplus::ARGB kTopRight = 0xFF00C000;     // green
inline constexpr Gdiplus::ARGB kBottomLeft = 0xFF0000FF;   // blue
inline constexpr Gdiplus::ARGB kBottomRight = 0xFFFFFF00;  // yellow

// A picture of the given size with the four quadrants.
GpBitmapPtr MakeQuadrantPicture(int width, int height);
// Writes it as "png", "jpg", "bmp", "gif" or "tif"; false when it could not be written.
bool WriteQuadrantPicture(const std::string& path, int width, int height, const char* format);
bool SavePicture(Gdiplus::GpBitmap* picture, const std::string& path, const char* format);

// Which of the four quadrant colours a pixel is closest to (0 red, 1 green, 2 blue,
// 3 yellow), or -1 when it is none of them.
int QuadrantColourAt(Gdiplus::GpBitmap* picture, int x, int y);
// The colours at the four quadrant centres, top left, top right, bottom left, bottom right.
std::vector<int> QuadrantsOf(Gdiplus::GpBitmap* picture);

// A fresh, empty directory under the temporary directory.
std::string FreshDirectory(const std::string& name);
void WriteBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// Both work directories, existing and empty.
void ResetWorkDirectories();
void RemoveDirectoryTree(const std::string& path);

// A plain top-level window whose client area has the given size, standing in for the main
// window: it records EnableSelectionButtons.
class FakeOwner : public ThumbnailViewOwner {
 public:
  FakeOwner(int clientWidth, int clientHeight);
  ~FakeOwner();
  void EnableSelectionButtons(bool enable) override { calls.push_back(enable); }
  HWND hwnd() const noexcept override { return window_.get(); }
  std::vector<bool> calls;

 private:
  UniqueWindow window_;
};

// A view of `width` x `height` pixels inside a FakeOwner, with its tooltip.
struct HostedView {
  HostedView(int width, int height);
  FakeOwner owner;
  ThumbnailView view;
};

// Processes the waiting messages of this thread.
void PumpMessages();

// The colour of a pixel of the window as painted (through WM_PRINTCLIENT).
COLORREF PaintedPixel(ThumbnailView& view, int x, int y);

}  // namespace fernwick::test
