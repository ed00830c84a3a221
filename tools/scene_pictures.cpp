#include "tools/scene_pictures.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "imaging/file_bytes.h"
#include "imaging/jpeg_codec.h"
#include "imaging/picture_io.h"
#include "imaging/picture_pixels.h"

namespace fernwick::tools {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// Texture at several scales and sensor-like noise over the drawn shapes: a camera's photo has
// detail in every part, which is what makes its JPEG large and its decoding and scaling costly.
void AddDetail(GpBitmap* picture, int variant) {
  const uint32_t width = PictureWidth(picture);
  const uint32_t height = PictureHeight(picture);
  const GpRect all{0, 0, static_cast<INT>(width), static_cast<INT>(height)};
  BitmapData data{};
  if (GdipBitmapLockBits(picture, &all, ImageLockModeRead | ImageLockModeWrite, PixelFormat32bppARGB, &data) != Ok) {
    return;
  }
  uint32_t seed = 2463534242u + static_cast<uint32_t>(variant) * 7919u;
  // A 256-entry table of waves keeps the per-pixel work to additions.
  int wave[256];
  for (int i = 0; i < 256; ++i) wave[i] = static_cast<int>(14 * std::sin(i * 6.283185307 / 256));
  for (uint32_t y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint8_t*>(static_cast<uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride);
    for (uint32_t x = 0; x < width; ++x) {
      seed ^= seed << 13;
      seed ^= seed >> 17;
      seed ^= seed << 5;
      const int noise = static_cast<int>(seed & 31) - 16;
      const int texture = wave[(x * 7 + y * 3 + (x * y >> 9)) & 255] + wave[(x * 29 / 10 - y * 5) & 255] / 2 +
                          wave[((x >> 3) * 11 + (y >> 3) * 13) & 255];
      for (int c = 0; c < 3; ++c) {
        const int value = row[x * 4 + c] + texture + noise + static_cast<int>((seed >> (8 + c * 4)) & 7) - 4;
        row[x * 4 + c] = static_cast<uint8_t>(std::clamp(value, 0, 255));
      }
    }
  }
  GdipBitmapUnlockBits(picture, &data);
}

}  // namespace

GpBitmapPtr MakeScene(int width, int height, int variant) {
  GpBitmapPtr picture;
  if (GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, picture.put()) != Ok) return {};
  GpGraphicsPtr g;
  GdipGetImageGraphicsContext(picture.get(), g.put());
  GdipSetSmoothingMode(g.get(), SmoothingModeAntiAlias);
  const ARGB skies[] = {0xFF3A7BD5, 0xFFFF7E5F, 0xFF614385, 0xFF11998E, 0xFFE96443, 0xFF4CA1AF};
  const ARGB grounds[] = {0xFF2F7336, 0xFF8E5A2B, 0xFF3C6E47, 0xFFB8A04C, 0xFF4B3B2A, 0xFF6A8F3A};
  const ARGB sky = skies[variant % 6];
  const ARGB ground = grounds[(variant / 2) % 6];
  GpPointF top{0, 0};
  GpPointF bottom{0, static_cast<REAL>(height)};
  GpLineGradient* gradient = nullptr;
  GdipCreateLineBrush(&top, &bottom, sky, 0xFFFFFFFF, WrapModeTileFlipXY, &gradient);
  GdipFillRectangleI(g.get(), gradient, 0, 0, width, height);
  GdipDeleteBrush(gradient);
  GpSolidFill* fill = nullptr;
  GdipCreateSolidFill(0xFFFFD34D, &fill);
  const REAL sun = static_cast<REAL>(std::min(width, height)) / 5;
  GdipFillEllipse(g.get(), fill, width * (0.2f + 0.1f * (variant % 5)), height * 0.15f, sun, sun);
  GdipSetSolidFillColor(fill, ground);
  GdipFillEllipse(g.get(), fill, -width * 0.3f, height * 0.6f, width * 1.6f, height * 0.9f);
  GdipSetSolidFillColor(fill, 0xFF20303A);
  GdipFillRectangle(g.get(), fill, width * 0.65f, height * 0.45f, width * 0.06f, height * 0.3f);
  GdipDeleteBrush(fill);
  AddDetail(picture.get(), variant);
  return picture;
}

bool SaveScene(GpBitmap* picture, const std::wstring& path, const char* format) {
  const std::string f = format;
  if (f == "jpg") {
    // A camera's quality; GDI+ under Wine would ignore the one it is given.
    const std::optional<PixelBuffer> pixels = PixelsOf(picture);
    const std::optional<std::vector<uint8_t>> jpeg = pixels ? EncodeJpeg(*pixels, {}, 92) : std::nullopt;
    return jpeg && WriteFileBytes(path, *jpeg);
  }
  const std::optional<CLSID> encoder = FindEncoder(f == "png" ? L"image/png" : L"image/bmp");
  return encoder && GdipSaveImageToFile(picture, path.c_str(), &*encoder, nullptr) == Ok;
}

}  // namespace fernwick::tools
