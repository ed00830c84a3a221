#pragma once
// A decoded picture in memory, top row first, and the eight ways of turning and mirroring its
// pixels (what a decoded JPEG goes through when it cannot be turned without decoding).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/core/photo_orientation.h"

namespace fernwick {

struct PixelBuffer {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t bytesPerPixel = 3;  // 3: blue, green, red; 4: blue, green, red, unused
  uint32_t stride = 0;         // bytes per row, a multiple of 4 as DIBs and GDI+ bitmaps want
  std::vector<uint8_t> pixels;

  // The size and row layout of a picture, with no pixels yet.
  static PixelBuffer Shaped(uint32_t width, uint32_t height, uint32_t bytesPerPixel);
  // An all-zero picture of this size.
  static PixelBuffer Blank(uint32_t width, uint32_t height, uint32_t bytesPerPixel);
  uint8_t* At(uint32_t x, uint32_t y) {
    return pixels.data() + std::size_t{y} * stride + std::size_t{x} * bytesPerPixel;
  }
  const uint8_t* At(uint32_t x, uint32_t y) const {
    return pixels.data() + std::size_t{y} * stride + std::size_t{x} * bytesPerPixel;
  }
};

PixelBuffer TransformPixels(const PixelBuffer& picture, PixelTransform transform);

}  // namespace fernwick
