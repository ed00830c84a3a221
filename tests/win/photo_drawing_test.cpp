// The grid draws each photo from its thumbnail-size picture. What shows must be the picture
// that drawing the full-size picture through the same transform would give.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

#include "imaging/compressed_thumbnail.h"
#include "imaging/photo_item.h"
#include "support/photo_test_pictures.h"

namespace fernwick {
namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

// A smooth picture with an off-centre disc, so that turns and scaling show.
GpBitmapPtr MakeGradientPicture(int width, int height) {
  GpBitmapPtr picture;
  GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, picture.put());
  GpGraphicsPtr g;
  GdipGetImageGraphicsContext(picture.get(), g.put());
  GpPointF from{0, 0};
  GpPointF to{static_cast<REAL>(width), static_cast<REAL>(height)};
  GpLineGradient* gradient = nullptr;
  GdipCreateLineBrush(&from, &to, 0xFF2060C0, 0xFFF0C040, WrapModeTileFlipXY, &gradient);
  GdipFillRectangleI(g.get(), gradient, 0, 0, width, height);
  GdipDeleteBrush(gradient);
  GpSolidFill* fill = nullptr;
  GdipCreateSolidFill(0xFFC02020, &fill);
  GdipFillEllipse(g.get(), fill, width * 0.1f, height * 0.1f, width * 0.3f, height * 0.3f);
  GdipDeleteBrush(fill);
  return picture;
}

class Canvas {
 public:
  Canvas() : screen_(nullptr) {
    memory_.reset(::CreateCompatibleDC(screen_.get()));
    bitmap_.reset(::CreateCompatibleBitmap(screen_.get(), kSize, kSize));
    select_ = std::make_unique<SelectScope>(memory_.get(), bitmap_.get());
    RECT all{0, 0, kSize, kSize};
    ::FillRect(memory_.get(), &all, ::GetSysColorBrush(COLOR_WINDOW));
  }
  HDC dc() const { return memory_.get(); }
  COLORREF at(int x, int y) const { return ::GetPixel(memory_.get(), x, y); }
  static constexpr int kSize = 140;

 private:
  WindowDc screen_;
  UniqueMemoryDc memory_;
  UniqueHBitmap bitmap_;
  std::unique_ptr<SelectScope> select_;
};

// The full-size picture through the cell's transform: enlarged by 1.0001, scaled by
// thumbScale, turned by angle, centred on the cell centre.
void DrawReference(HDC dc, GpBitmap* full, const PhotoItem& item) {
  GpGraphicsPtr g;
  GdipCreateFromHDC(dc, g.put());
  GpMatrixPtr m;
  GdipCreateMatrix2(1.0001f, 0, 0, 1.0001f, 0, 0, m.put());
  GdipScaleMatrix(m.get(), static_cast<REAL>(item.thumbScale), static_cast<REAL>(item.thumbScale), MatrixOrderAppend);
  if (item.angle != 0) GdipRotateMatrix(m.get(), static_cast<REAL>(item.angle), MatrixOrderAppend);
  GdipTranslateMatrix(m.get(), static_cast<REAL>(item.centreX), static_cast<REAL>(item.centreY), MatrixOrderAppend);
  GdipSetWorldTransform(g.get(), m.get());
  GdipDrawImageRectI(g.get(), full, -(item.width / 2), -(item.height / 2), item.width, item.height);
}

struct Difference {
  double mean = 0;
  int distant = 0;  // pixels with a channel more than 64 apart
};

Difference Compare(const Canvas& a, const Canvas& b) {
  Difference d;
  long total = 0;
  for (int y = 0; y < Canvas::kSize; ++y) {
    for (int x = 0; x < Canvas::kSize; ++x) {
      const COLORREF p = a.at(x, y);
      const COLORREF q = b.at(x, y);
      const int dr = std::abs(GetRValue(p) - GetRValue(q));
      const int dg = std::abs(GetGValue(p) - GetGValue(q));
      const int db = std::abs(GetBValue(p) - GetBValue(q));
      total += dr + dg + db;
      if (dr > 64 || dg > 64 || db > 64) ++d.distant;
    }
  }
  d.mean = static_cast<double>(total) / (3.0 * Canvas::kSize * Canvas::kSize);
  return d;
}

TEST(PhotoDrawing, ThumbnailDrawsTheSamePictureAsTheFullPicture) {
  struct Case {
    int width, height, turns;
  };
  const Case cases[] = {{2000, 1000, 0}, {2000, 1000, 1}, {2000, 1000, 2}, {2000, 1000, -1}, {1000, 2000, 0},
                        {640, 480, 3},   {60, 40, 0},     {75, 30, 1},     {101, 100, 0},    {3000, 7, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " turns " << c.turns);
    GpBitmapPtr full = MakeGradientPicture(c.width, c.height);
    PhotoItem item(L"memory", full.get());
    item.MoveCentreTo(70, 70);
    for (int i = 0; i < std::abs(c.turns); ++i) item.TurnQuarter(c.turns > 0);
    Canvas shown;
    Canvas reference;
    item.DrawInCell(shown.dc());
    DrawReference(reference.dc(), full.get(), item);
    // The frame is the same code in both; draw it on the reference too.
    const RECT frame{item.frameRect.left - 4, item.frameRect.top - 4, item.frameRect.right + 4,
                     item.frameRect.bottom + 4};
    UniqueHBrush brush(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)));
    ::FrameRect(reference.dc(), &frame, brush.get());
    const Difference d = Compare(shown, reference);
    // Resampling differs a little at the thumbnail's edges; a thumbnail of half the
    // resolution, drawn blurred, would already be 0.7 apart on average with 160 pixels far off.
    EXPECT_LT(d.mean, 0.65);
    EXPECT_LT(d.distant, 120);
    // And the picture is really there: the middle is not the window colour.
    if (c.width > 10 && c.height > 10) {
      EXPECT_NE(shown.at(70, 70), ::GetSysColor(COLOR_WINDOW));
    }
    // Written straight into a cell's pixels over the window colour, it is the same picture pixel
    // for pixel; a photo turned in the list is left for DrawInCell to turn.
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    PixelBuffer cell = PixelBuffer::Blank(Canvas::kSize, Canvas::kSize, 4);
    for (uint32_t at = 0; at < cell.pixels.size(); at += 4) {
      cell.pixels[at] = GetBValue(window);
      cell.pixels[at + 1] = GetGValue(window);
      cell.pixels[at + 2] = GetRValue(window);
    }
    ASSERT_EQ(item.PutPicture(cell.pixels.data(), cell.stride, Canvas::kSize, Canvas::kSize, POINT{0, 0}),
              c.turns == 0);
    if (c.turns != 0) continue;
    Canvas put;
    DrawPixels(put.dc(), 0, 0, cell);
    item.DrawFrame(put.dc(), POINT{0, 0});
    int differing = 0;
    for (int y = 0; y < Canvas::kSize; ++y) {
      for (int x = 0; x < Canvas::kSize; ++x) differing += put.at(x, y) != shown.at(x, y);
    }
    EXPECT_EQ(differing, 0);
  }
}

// A thumbnail for a 200 % grid of a picture with fine detail everywhere: no more bytes than a
// thumbnail keeps at most (a list of thousands holds one each), still close to the picture, and
// its flat colours exact.
TEST(PhotoDrawing, DenseThumbnailKeepsToItsBytesAndItsColours) {
  PixelBuffer picture = PixelBuffer::Blank(200, 150, 4);
  for (uint32_t y = 0; y < 150; ++y) {
    for (uint32_t x = 0; x < 200; ++x) {
      uint8_t* p = picture.At(x, y);
      const bool flat = x >= 140 && y >= 100;
      p[0] = flat ? 0 : static_cast<uint8_t>((x * 37 + y * 91) % 97 + x / 2);
      p[1] = flat ? 255 : static_cast<uint8_t>((x * 53 + y * 29) % 89 + y);
      p[2] = flat ? 255 : static_cast<uint8_t>((x * x + y * 7) % 101 + 100);
    }
  }
  const CompressedThumbnail thumbnail = CompressThumbnail(picture);
  EXPECT_LE(thumbnail.jpeg.size(), 8u * 1024);
  const PixelBuffer shown = ShownThumbnail(thumbnail, 0, 200, 150);
  ASSERT_EQ(shown.width, 200u);
  long total = 0;
  for (uint32_t y = 0; y < 90; ++y) {
    for (uint32_t x = 0; x < 200; ++x) {
      for (int c = 0; c < 3; ++c) total += std::abs(shown.At(x, y)[c] - picture.At(x, y)[c]);
    }
  }
  EXPECT_LT(total / (3.0 * 200 * 90), 18.0);
  for (const auto& [x, y] : {std::pair{160u, 120u}, std::pair{190u, 140u}}) {
    EXPECT_EQ(RGB(shown.At(x, y)[2], shown.At(x, y)[1], shown.At(x, y)[0]), RGB(255, 255, 0)) << x << "," << y;
  }
}

TEST(PhotoDrawing, FittedDrawingMatchesTheFullPictureToo) {
  GpBitmapPtr full = MakeGradientPicture(1600, 1200);
  PhotoItem item(L"memory", full.get());
  Canvas shown;
  Canvas reference;
  item.DrawFitted(shown.dc(), 70, 70, 100);
  // The reference: the outline Rectangle with the dc's pen and brush, then the full picture.
  ::Rectangle(reference.dc(), 70 - 50 - 5, 70 - 37 - 5, 70 + 50 + 5, 70 + 37 + 5);
  PhotoItem placed(L"memory", full.get());
  placed.thumbScale = 100.0 / 1600.0;
  placed.MoveCentreTo(70, 70);
  DrawReference(reference.dc(), full.get(), placed);
  const Difference d = Compare(shown, reference);
  EXPECT_LT(d.mean, 0.65);
  EXPECT_LT(d.distant, 120);
}

}  // namespace
}  // namespace fernwick
