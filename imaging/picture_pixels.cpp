#include "imaging/picture_pixels.h"

#include <cstring>

#include "imaging/picture_io.h"

namespace fernwick {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

std::optional<PixelBuffer> PixelsOf(GpBitmap* picture) {
  const uint32_t width = PictureWidth(picture);
  const uint32_t height = PictureHeight(picture);
  if (width == 0 || height == 0) return std::nullopt;
  // Allocated before the lock: nothing between lock and unlock may throw.
  PixelBuffer pixels = PixelBuffer::Blank(width, height, 3);
  const GpRect all{0, 0, static_cast<INT>(width), static_cast<INT>(height)};
  BitmapData data{};
  if (GdipBitmapLockBits(picture, &all, ImageLockModeRead, PixelFormat24bppRGB, &data) != Ok) return std::nullopt;
  for (uint32_t y = 0; y < height; ++y) {
    std::memcpy(pixels.At(0, y), static_cast<const uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride,
                size_t{width} * 3);
  }
  GdipBitmapUnlockBits(picture, &data);
  return pixels;
}

GpBitmapPtr BitmapOver(const PixelBuffer& pixels) {
  if (pixels.width == 0 || pixels.height == 0) return {};
  // GDI+ only reads through the pointer of a bitmap that nobody locks for writing.
  auto* scan0 = const_cast<uint8_t*>(pixels.pixels.data());
  const PixelFormat format = pixels.bytesPerPixel == 4 ? PixelFormat32bppRGB : PixelFormat24bppRGB;
  GpBitmapPtr bitmap;
  if (GdipCreateBitmapFromScan0(static_cast<INT>(pixels.width), static_cast<INT>(pixels.height),
                                static_cast<INT>(pixels.stride), format, scan0, bitmap.put()) != Ok) {
    return {};
  }
  return bitmap;
}

std::vector<AppSegment> IccSegmentsOf(GpBitmap* picture) {
  constexpr PROPID kIccProfile = 0x8773;  // PropertyTagICCProfile
  UINT size = 0;
  if (!picture || GdipGetPropertyItemSize(picture, kIccProfile, &size) != Ok || size <= sizeof(PropertyItem)) return {};
  // PropertyItem's value points into the same block, just after the header.
  std::vector<uint64_t> block((size + sizeof(uint64_t) - 1) / sizeof(uint64_t));
  auto* item = reinterpret_cast<PropertyItem*>(block.data());
  if (GdipGetPropertyItem(picture, kIccProfile, size, item) != Ok || !item->value || item->length == 0) return {};
  return IccProfileSegments({static_cast<const uint8_t*>(item->value), item->length});
}

}  // namespace fernwick
