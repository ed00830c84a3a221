#include "imaging/photo_item.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "base/handles.h"
#include "imaging/core/quarter_turn.h"
#include "imaging/jpeg_codec.h"
#include "imaging/picture_io.h"
#include "imaging/picture_pixels.h"

namespace fernwick {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {
// The slight enlargement keeps the picture's edge pixels from being left out where an edge falls
// on a pixel centre.
constexpr float kEdgeAllowance = 1.0001f;

// The pixels that the full picture fills when scaled by `scale`, turned `degrees` clockwise
// about its middle pixel (the one at width / 2, height / 2) and centred on (x, y).
RECT ShownRect(int32_t width, int32_t height, int32_t degrees, double scale, int32_t x, int32_t y) {
  const double s = scale * kEdgeAllowance;
  // The picture's extent about its middle pixel, before and after the turn.
  double left = -(width / 2), right = width - width / 2, top = -(height / 2), bottom = height - height / 2;
  for (int32_t turned = 0; turned < degrees; turned += 90) {
    // A quarter turn clockwise takes (x, y) to (-y, x).
    const double oldLeft = left, oldRight = right;
    left = -bottom;
    right = -top;
    top = oldLeft;
    bottom = oldRight;
  }
  // From the first pixel covered, as many as the scaled side has.
  const auto first = [&](double from) { return static_cast<LONG>(std::ceil(from * s)); };
  const auto side = [&](double length) { return static_cast<LONG>(std::max(1.0, std::round(length * scale))); };
  const LONG shownLeft = x + first(left);
  const LONG shownTop = y + first(top);
  return RECT{shownLeft, shownTop, shownLeft + side(right - left), shownTop + side(bottom - top)};
}

// The full picture drawn unturned at `scale` into the pixels ShownRect gives, over the window
// colour: what the grid shows at angle 0, pixel for pixel, so that drawing only copies it.
std::optional<PixelBuffer> ShownPixels(GpBitmap* picture, int32_t width, int32_t height, double scale) {
  const RECT shown = ShownRect(width, height, 0, scale, 0, 0);
  const INT shownWidth = shown.right - shown.left, shownHeight = shown.bottom - shown.top;
  GpBitmapPtr small;
  GpGraphicsPtr graphics;
  GpMatrixPtr matrix;
  if (GdipCreateBitmapFromScan0(shownWidth, shownHeight, 0, PixelFormat32bppARGB, nullptr, small.put()) != Ok ||
      GdipGetImageGraphicsContext(small.get(), graphics.put()) != Ok ||
      GdipCreateMatrix2(kEdgeAllowance, 0, 0, kEdgeAllowance, 0, 0, matrix.put()) != Ok) {
    return std::nullopt;
  }
  // The picture's edge pixels, which it only partly covers, blend into the window as in a cell.
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  GdipGraphicsClear(graphics.get(),
                    0xFF000000u | (GetRValue(window) << 16) | (GetGValue(window) << 8) | GetBValue(window));
  GdipSetInterpolationMode(graphics.get(), InterpolationModeHighQualityBicubic);
  GdipScaleMatrix(matrix.get(), static_cast<REAL>(scale), static_cast<REAL>(scale), MatrixOrderAppend);
  GdipTranslateMatrix(matrix.get(), static_cast<REAL>(-shown.left), static_cast<REAL>(-shown.top), MatrixOrderAppend);
  GdipSetWorldTransform(graphics.get(), matrix.get());
  if (GdipDrawImageRectI(graphics.get(), picture, -(width / 2), -(height / 2), width, height) != Ok)
    return std::nullopt;
  graphics.reset();
  return PixelsOf(small.get());
}
}  // namespace

PhotoItem::PhotoItem(const std::wstring& path, int32_t box) : PhotoItem(path, DecodePicture(path).get(), box) {}

PhotoItem::PhotoItem(const std::wstring& path, Gdiplus::GpBitmap* decoded, int32_t box)
    : PhotoItem(path, decoded, static_cast<int32_t>(PictureWidth(decoded)),
                static_cast<int32_t>(PictureHeight(decoded)), box) {}

// `decoded` is drawn over the full picture's extent, whatever its own size.
PhotoItem::PhotoItem(const std::wstring& path, Gdiplus::GpBitmap* decoded, int32_t width, int32_t height, int32_t box)
    : PhotoGeometry(decoded ? width : 0, decoded ? height : 0, box), sendPath(path) {
  if (this->width <= 0 || this->height <= 0) return;
  if (const std::optional<PixelBuffer> pixels = ShownPixels(decoded, this->width, this->height, thumbScale)) {
    thumbnail = CompressThumbnail(*pixels);
  }
}

// The bitmap over the pixels lives until the delegated constructor has made the thumbnail.
PhotoItem::PhotoItem(const std::wstring& path, const PixelBuffer& pixels, int32_t box)
    : PhotoItem(path, BitmapOver(pixels).get(), box) {}

PhotoItem::PhotoItem(const std::wstring& path, const PixelBuffer& shrunk, int32_t width, int32_t height, int32_t box)
    : PhotoItem(path, BitmapOver(shrunk).get(), width, height, box) {}

PhotoItem::~PhotoItem() = default;

void PhotoItem::DrawPicture(HDC dc, int32_t x, int32_t y, double scale) const {
  if (!thumbnail) return;
  const QuarterTurn turn = TurnForAngle(angle);
  const RECT upright = ShownRect(width, height, 0, scale, 0, 0);
  const auto uprightWidth = static_cast<uint32_t>(upright.right - upright.left);
  const auto uprightHeight = static_cast<uint32_t>(upright.bottom - upright.top);
  // Most photos are never turned in the list: their stored pixels are what shows, copied as they are.
  if (turn.degrees == 0) {
    DrawPixels(dc, x + upright.left, y + upright.top, ShownThumbnail(thumbnail, 0, uprightWidth, uprightHeight));
    return;
  }
  // A turned one is turned about the picture's middle pixel as the full picture would be, one to
  // one (the cell cache keeps the result, so this is once per drawn cell).
  PixelBuffer pixels = ShownThumbnail(thumbnail, 0, uprightWidth, uprightHeight);
  GpBitmapPtr picture;
  GpGraphicsPtr graphics;
  GpMatrixPtr matrix;
  if (pixels.pixels.empty() ||
      GdipCreateBitmapFromScan0(static_cast<INT>(pixels.width), static_cast<INT>(pixels.height),
                                static_cast<INT>(pixels.stride), PixelFormat32bppRGB, pixels.pixels.data(),
                                picture.put()) != Ok ||
      GdipCreateFromHDC(dc, graphics.put()) != Ok || GdipCreateMatrix2(1, 0, 0, 1, 0, 0, matrix.put()) != Ok) {
    return;
  }
  GdipRotateMatrix(matrix.get(), static_cast<REAL>(turn.degrees), MatrixOrderAppend);
  GdipTranslateMatrix(matrix.get(), static_cast<REAL>(x), static_cast<REAL>(y), MatrixOrderAppend);
  GdipSetWorldTransform(graphics.get(), matrix.get());
  GdipDrawImageRectI(graphics.get(), picture.get(), upright.left, upright.top, static_cast<INT>(uprightWidth),
                     static_cast<INT>(uprightHeight));
  GdipFlush(graphics.get(), FlushIntentionSync);
}

bool PhotoItem::PutPicture(uint8_t* rows, std::size_t stride, int32_t pixelsWide, int32_t pixelsHigh,
                           POINT origin) const {
  if (!thumbnail) return true;  // nothing to draw, as in DrawPicture
  if (TurnForAngle(angle).degrees != 0) return false;
  const RECT shown = ShownRect(width, height, 0, thumbScale, centreX - origin.x, centreY - origin.y);
  if (shown.left < 0 || shown.top < 0 || shown.right > pixelsWide || shown.bottom > pixelsHigh) return false;
  const auto shownWidth = static_cast<uint32_t>(shown.right - shown.left);
  const auto shownHeight = static_cast<uint32_t>(shown.bottom - shown.top);
  uint8_t* const first = rows + static_cast<std::size_t>(shown.top) * stride + std::size_t{4} * shown.left;
  if (thumbnail.turn == 0 && thumbnail.width == shownWidth && thumbnail.height == shownHeight) {
    return DecodeJpegInto(thumbnail.jpeg, first, stride, shownWidth, shownHeight);
  }
  const PixelBuffer pixels = ShownThumbnail(thumbnail, 0, shownWidth, shownHeight);
  if (pixels.pixels.empty()) return false;
  for (uint32_t y = 0; y < shownHeight; ++y) {
    std::memcpy(first + y * stride, pixels.At(0, y), std::size_t{4} * shownWidth);
  }
  return true;
}

void PhotoItem::DrawInCell(HDC dc, POINT origin) const {
  DrawPicture(dc, centreX - origin.x, centreY - origin.y, thumbScale);
  DrawFrame(dc, origin);
}

void PhotoItem::DrawFrame(HDC dc, POINT origin) const {
  const RECT frame{frameRect.left - 4 - origin.x, frameRect.top - 4 - origin.y, frameRect.right + 4 - origin.x,
                   frameRect.bottom + 4 - origin.y};
  UniqueHBrush brush(::CreateSolidBrush(selected ? kSelectedFrameColour : ::GetSysColor(COLOR_BTNFACE)));
  ::FrameRect(dc, &frame, brush.get());
}

void PhotoItem::DrawFitted(HDC dc, int32_t x, int32_t y, int32_t box) const {
  const FittedPlacement placement = FitIntoBox(width, height, x, y, box);
  ::Rectangle(dc, placement.outline.left, placement.outline.top, placement.outline.right, placement.outline.bottom);
  DrawPicture(dc, x, y, placement.scale);
}

}  // namespace fernwick
