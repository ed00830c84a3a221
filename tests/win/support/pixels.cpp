#include "pixels.h"

namespace fernwick::test {

Canvas::Canvas(int width, int height, COLORREF fill) {
  WindowDc screen(nullptr);
  dc_.reset(::CreateCompatibleDC(screen.get()));
  bitmap_.reset(::CreateCompatibleBitmap(screen.get(), width, height));
  original_ = ::SelectObject(dc_.get(), bitmap_.get());
  UniqueHBrush brush(::CreateSolidBrush(fill));
  RECT all{0, 0, width, height};
  ::FillRect(dc_.get(), &all, brush.get());
}

std::vector<COLORREF> ResourcePixels(int id, int width, int height) {
  Canvas canvas(width, height, RGB(0, 0, 0));
  UniqueHBitmap picture(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
  if (!picture) return {};
  UniqueMemoryDc source(::CreateCompatibleDC(canvas.dc()));
  SelectScope select(source.get(), picture.get());
  ::BitBlt(canvas.dc(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
  return CanvasPixels(canvas, 0, 0, width, height);
}

std::vector<COLORREF> CanvasPixels(const Canvas& canvas, int x, int y, int width, int height) {
  std::vector<COLORREF> pixels;
  pixels.reserve(static_cast<size_t>(width * height));
  for (int row = y; row < y + height; ++row) {
    for (int column = x; column < x + width; ++column) pixels.push_back(canvas.At(column, row));
  }
  return pixels;
}

}  // namespace fernwick::test
