#pragma once
// A listed photo's thumbnail, kept as a small JPEG: a few kilobytes where a bitmap of the grid's
// box would hold four bytes a pixel (120 KB at 200 %), so a list of thousands of photos costs
// the same memory at every DPI. Only the cells being drawn decode theirs, once per drawn cell.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/kept_heap.h"
#include "imaging/core/pixel_buffer.h"

namespace fernwick {

struct CompressedThumbnail {
  using Bytes = std::vector<uint8_t, KeptAllocator<uint8_t>>;
  Bytes jpeg;          // empty: the photo did not decode and shows only its frame
  uint32_t width = 0;  // of the stored pixels
  uint32_t height = 0;
  // Degrees clockwise the stored pixels are turned by to show the photo at angle 0: a photo
  // whose file was replaced by a turned copy keeps its thumbnail and turns it when drawn.
  int32_t turn = 0;

  explicit operator bool() const noexcept { return !jpeg.empty(); }
};

// `picture` (3 or 4 bytes a pixel) compressed; empty when it cannot be.
CompressedThumbnail CompressThumbnail(const PixelBuffer& picture);

// The thumbnail decoded, turned by its own turn and then `degrees` clockwise, and sized to
// width x height, 4 bytes a pixel (blue, green, red, unused): ready for DrawPixels. Empty when
// the thumbnail is, or does not decode.
PixelBuffer ShownThumbnail(const CompressedThumbnail& thumbnail, int32_t degrees, uint32_t width, uint32_t height);

// Copies 4-byte pixels to the dc with plain GDI, top left at (x, y), one to one.
void DrawPixels(HDC dc, int32_t x, int32_t y, const PixelBuffer& pixels);

}  // namespace fernwick
