#include "imaging/photo_item.h"

#include "base/handles.h"
#include "imaging/picture_io.h"
#include "imaging/picture_pixels.h"

namespace fernwick {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

PhotoItem::PhotoItem(const std::wstring& path, int32_t box) : PhotoItem(path, DecodePicture(path).get(), box) {}

PhotoItem::PhotoItem(const std::wstring& path, GpBitmap* decoded, int32_t box)
    : PhotoGeometry(static_cast<int32_t>(PictureWidth(decoded)), static_cast<int32_t>(PictureHeight(decoded)), box),
      sendPath(path) {
  if (width > 0 && height > 0) picture = MakeThumbnail(decoded, thumbScale);
}

// The bitmap over the pixels lives until the delegated constructor has made the thumbnail.
PhotoItem::PhotoItem(const std::wstring& path, const PixelBuffer& pixels, int32_t box)
    : PhotoItem(path, BitmapOver(pixels).get(), box) {}

PhotoItem::~PhotoItem() = default;

void PhotoItem::DrawPicture(GpGraphics* graphics, float x, float y, double scale) const {
  if (!picture || !graphics) return;
  // One matrix for the whole placement: the slight enlargement keeps the picture's edge
  // pixels from fading at the cell's exact size, then the thumbnail scale, the turn and the
  // move to the cell centre.
  GpMatrixPtr matrix;
  if (GdipCreateMatrix2(1.0001f, 0, 0, 1.0001f, 0, 0, matrix.put()) != Ok) return;
  GdipScaleMatrix(matrix.get(), static_cast<REAL>(scale), static_cast<REAL>(scale), MatrixOrderAppend);
  if (angle != 0) GdipRotateMatrix(matrix.get(), static_cast<REAL>(angle), MatrixOrderAppend);
  GdipTranslateMatrix(matrix.get(), x, y, MatrixOrderAppend);
  GdipSetWorldTransform(graphics, matrix.get());
  GdipDrawImageRectI(graphics, picture.get(), -(width / 2), -(height / 2), width, height);
}

void PhotoItem::DrawInCell(HDC dc, POINT origin, GpGraphics* graphics) const {
  GpGraphicsPtr own;
  if (picture && !graphics && GdipCreateFromHDC(dc, own.put()) == Ok) graphics = own.get();
  const auto x = static_cast<float>(centreX - origin.x);
  const auto y = static_cast<float>(centreY - origin.y);
  DrawPicture(graphics, x, y, thumbScale);
  // GDI draws the frame on the same dc: what GDI+ may still hold back must be there first.
  if (graphics) GdipFlush(graphics, FlushIntentionSync);
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
  if (!picture) return;
  GpGraphicsPtr graphics;
  if (GdipCreateFromHDC(dc, graphics.put()) == Ok) {
    DrawPicture(graphics.get(), static_cast<float>(x), static_cast<float>(y), placement.scale);
  }
}

}  // namespace fernwick
