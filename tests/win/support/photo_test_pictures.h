#pragma once
// Pictures made by the tests themselves, the work directories, and a stand-in for the main
// window that holds a photo list and a thumbnail view and hears of the list's selection.
#include <windows.h>
#include <gdiplus.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/gdiplus_handles.h"
#include "base/handles.h"
#include "thumbview/thumbnail_view.h"

#include "test_files.h"

namespace fernwick::test {

// Four quadrants of distinct colours, so that a turn or a flip can be read back.
inline constexpr Gdiplus::ARGB kTopLeft = 0xFFFF0000;      // red
inline constexpr Gdiplus::ARGB kTopRight = 0xFF00C000;     // green
inline constexpr Gdiplus::ARGB kBottomLeft = 0xFF0000FF;   // blue
inline constexpr Gdiplus::ARGB kBottomRight = 0xFFFFFF00;  // yellow

// A picture of the given size with the four quadrants.
GpBitmapPtr MakeQuadrantPicture(int width, int height);
// Writes it as "png", "jpg", "bmp", "gif" or "tif"; false when it could not be written.
bool WriteQuadrantPicture(const std::wstring& path, int width, int height, const char* format);
bool SavePicture(Gdiplus::GpBitmap* picture, const std::wstring& path, const char* format);
// A GIF written byte by byte (some GDI+ implementations write no usable GIF): `pixels` holds
// one index into `palette` (0xRRGGBB) per pixel, row by row. Each pixel is a literal LZW code
// with a clear code before every second one, so that every code stays three bits wide.
std::string FourColourGif(int width, int height, const std::array<uint32_t, 4>& palette,
                          const std::vector<uint8_t>& pixels);

// Which of the four quadrant colours a pixel is closest to (0 red, 1 green, 2 blue,
// 3 yellow), or -1 when it is none of them.
int QuadrantColourAt(Gdiplus::GpBitmap* picture, int x, int y);
// The colours at the four quadrant centres, top left, top right, bottom left, bottom right.
std::vector<int> QuadrantsOf(Gdiplus::GpBitmap* picture);

// The item's thumbnail decoded at its stored size and turned as the photo shows at angle 0, in a
// bitmap of its own; none when the item has no thumbnail.
GpBitmapPtr ThumbnailPicture(const PhotoItem& item);

// Both work directories, existing and empty.
void ResetWorkDirectories();

// A plain top-level window whose client area has the given size, standing in for the main
// window: it records the selection changes it is told of.
class FakeOwner : public PhotoListObserver {
 public:
  FakeOwner(int clientWidth, int clientHeight);
  ~FakeOwner();
  void SelectionChanged(bool hasSelection) override { calls.push_back(hasSelection); }
  HWND hwnd() const noexcept { return window_.get(); }
  std::vector<bool> calls;

 private:
  UniqueWindow window_;
};

// A view of `width` x `height` pixels inside a FakeOwner, with its tooltip, showing a list
// whose selection the owner hears of.
struct HostedView {
  HostedView(int width, int height);
  FakeOwner owner;
  PhotoList photos;
  ThumbnailView view{photos};
};

// Processes the waiting messages of this thread.
void PumpMessages();

// The colour of a pixel of the window as painted (through WM_PRINTCLIENT).
COLORREF PaintedPixel(ThumbnailView& view, int x, int y);

}  // namespace fernwick::test
