#include "imaging/core/pixel_buffer.h"

#include <cstring>

namespace fernwick {

PixelBuffer PixelBuffer::Shaped(uint32_t width, uint32_t height, uint32_t bytesPerPixel) {
  PixelBuffer picture;
  picture.width = width;
  picture.height = height;
  picture.bytesPerPixel = bytesPerPixel;
  picture.stride = (width * bytesPerPixel + 3) / 4 * 4;
  return picture;
}

PixelBuffer PixelBuffer::Blank(uint32_t width, uint32_t height, uint32_t bytesPerPixel) {
  PixelBuffer picture = Shaped(width, height, bytesPerPixel);
  picture.pixels.assign(size_t{picture.stride} * height, 0);
  return picture;
}

PixelBuffer TransformPixels(const PixelBuffer& picture, PixelTransform transform) {
  const uint32_t w = picture.width, h = picture.height;
  const bool swap = SwapsSides(transform);
  PixelBuffer out = PixelBuffer::Blank(swap ? h : w, swap ? w : h, picture.bytesPerPixel);
  for (uint32_t y = 0; y < h; ++y) {
    for (uint32_t x = 0; x < w; ++x) {
      uint32_t nx = x, ny = y;
      switch (transform) {
        case PixelTransform::kNone:
          break;
        case PixelTransform::kFlipHorizontal:
          nx = w - 1 - x;
          break;
        case PixelTransform::kFlipVertical:
          ny = h - 1 - y;
          break;
        case PixelTransform::kTranspose:
          nx = y, ny = x;
          break;
        case PixelTransform::kTransverse:
          nx = h - 1 - y, ny = w - 1 - x;
          break;
        case PixelTransform::kRotate90:
          nx = h - 1 - y, ny = x;
          break;
        case PixelTransform::kRotate180:
          nx = w - 1 - x, ny = h - 1 - y;
          break;
        case PixelTransform::kRotate270:
          nx = y, ny = w - 1 - x;
          break;
      }
      std::memcpy(out.At(nx, ny), picture.At(x, y), picture.bytesPerPixel);
    }
  }
  return out;
}

}  // namespace fernwick
