#include "tools/scene_pictures.h"

#include <algorithm>
#include <string>

#include "imaging/picture_io.h"

namespace fernwick::tools {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

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
  return picture;
}

bool SaveScene(GpBitmap* picture, const std::wstring& path, const char* format) {
  const std::string f = format;
  if (f == "jpg") return SaveJpegWithQuality(picture, path, 90);
  const std::optional<CLSID> encoder = FindEncoder(f == "png" ? L"image/png" : L"image/bmp");
  return encoder && GdipSaveImageToFile(picture, path.c_str(), &*encoder, nullptr) == Ok;
}

}  // namespace fernwick::tools
