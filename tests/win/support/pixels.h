#pragma once
// Pictures drawn by windows, read back pixel by pixel.
#include <windows.h>

#include <vector>

#include "base/handles.h"

namespace fernwick::test {

// A memory DC with a screen-compatible bitmap of its own, filled with one colour.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill);
  HDC dc() const noexcept { return dc_.get(); }
  COLORREF At(int x, int y) const { return ::GetPixel(dc_.get(), x, y); }

 private:
  UniqueMemoryDc dc_;
  UniqueHBitmap bitmap_;
  HGDIOBJ original_ = nullptr;
};

// The pixels of bitmap resource `id` of this program, row by row, as drawn on a canvas.
std::vector<COLORREF> ResourcePixels(int id, int width, int height);
// The pixels of `canvas` in the rectangle at (x, y), row by row.
std::vector<COLORREF> CanvasPixels(const Canvas& canvas, int x, int y, int width, int height);

}  // namespace fernwick::test
