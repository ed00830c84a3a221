#include "imaging/compressed_thumbnail.h"

#include <algorithm>
#include <optional>

#include "imaging/core/photo_orientation.h"
#include "imaging/core/resampler.h"
#include "imaging/jpeg_codec.h"

namespace fernwick {

namespace {
// Quality 85 with the colour kept at every pixel: the grid's hard colour edges (a red disc on a
// gradient, a sign) come back as sharp as the bitmap showed them, at a fraction of its memory.
constexpr int kThumbnailQuality = 85;
// A thumbnail this long or longer is made for a screen of 144 DPI or more, whose pixels are so
// small that a lower quality does not show: it keeps the size nearer that of the 96-DPI one.
constexpr uint32_t kDenseSide = 150;
constexpr int kDenseQuality = 60;
}  // namespace

CompressedThumbnail CompressThumbnail(const PixelBuffer& picture) {
  const bool dense = std::max(picture.width, picture.height) >= kDenseSide;
  std::optional<std::vector<uint8_t>> jpeg =
      EncodeJpeg(picture, {}, dense ? kDenseQuality : kThumbnailQuality, JpegColour::kRgb);
  if (!jpeg) return {};
  jpeg->shrink_to_fit();  // the writer's buffer grows in steps; thousands of photos keep what is left
  return {std::move(*jpeg), picture.width, picture.height, 0};
}

PixelBuffer ShownThumbnail(const CompressedThumbnail& thumbnail, int32_t degrees, uint32_t width, uint32_t height) {
  if (!thumbnail || width == 0 || height == 0) return {};
  std::optional<PixelBuffer> decoded = DecodeJpeg(thumbnail.jpeg, 4);
  if (!decoded) return {};
  const PixelTransform turn = UprightTransform(1, ((thumbnail.turn + degrees) % 360 + 360) % 360);
  PixelBuffer upright = turn == PixelTransform::kNone ? std::move(*decoded) : TransformPixels(*decoded, turn);
  if (upright.width == width && upright.height == height) return upright;
  return ResamplePixels(upright, width, height);
}

void DrawPixels(HDC dc, int32_t x, int32_t y, const PixelBuffer& pixels) {
  if (pixels.width == 0 || pixels.height == 0 || pixels.bytesPerPixel != 4) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = static_cast<LONG>(pixels.width);
  info.bmiHeader.biHeight = -static_cast<LONG>(pixels.height);  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ::SetDIBitsToDevice(dc, x, y, pixels.width, pixels.height, 0, 0, 0, pixels.height, pixels.pixels.data(), &info,
                      DIB_RGB_COLORS);
}

}  // namespace fernwick
