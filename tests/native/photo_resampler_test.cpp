// The resampler of working copies: sizes, flat areas, and how close a shrunk picture comes to
// the average of the source pixels each output pixel covers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "imaging/core/resampler.h"

namespace fernwick {
namespace {

// A picture whose channels are smooth, different functions of the position (so that an error
// in one direction or one channel shows).
PixelBuffer Smooth(uint32_t width, uint32_t height, uint32_t bytesPerPixel) {
  PixelBuffer picture = PixelBuffer::Blank(width, height, bytesPerPixel);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      uint8_t* p = picture.At(x, y);
      p[0] = static_cast<uint8_t>(255.0 * x / width);
      p[1] = static_cast<uint8_t>(255.0 * y / height);
      p[2] = static_cast<uint8_t>(128 + 100 * std::sin(6.0 * x / width) * std::cos(4.0 * y / height));
      if (bytesPerPixel == 4) p[3] = 77;
    }
  }
  return picture;
}

// The mean of the source pixels under output pixel (x, y), channel c.
double AreaMean(const PixelBuffer& source, uint32_t width, uint32_t height, uint32_t x, uint32_t y, uint32_t c) {
  const uint32_t x0 = x * source.width / width, x1 = (x + 1) * source.width / width;
  const uint32_t y0 = y * source.height / height, y1 = (y + 1) * source.height / height;
  double sum = 0;
  for (uint32_t sy = y0; sy < y1; ++sy) {
    for (uint32_t sx = x0; sx < x1; ++sx) sum += source.At(sx, sy)[c];
  }
  return sum / ((x1 - x0) * (y1 - y0));
}

TEST(PhotoResampler, SizesLayoutAndCloseness) {
  struct Case {
    uint32_t fromWidth, fromHeight, bytesPerPixel, width, height;
  };
  const Case cases[] = {
      {2000, 1500, 3, 1024, 768},  // a 12-megapixel photo after decoding at 1/2
      {1000, 800, 4, 250, 200},
      {333, 97, 3, 111, 97},       // one side only
      {40, 30, 3, 1, 1},
      {5, 3, 3, 5, 3},             // same size: the pixels themselves
  };
  for (const Case& c : cases) {
    const PixelBuffer source = Smooth(c.fromWidth, c.fromHeight, c.bytesPerPixel);
    const PixelBuffer out = ResamplePixels(source, c.width, c.height);
    ASSERT_EQ(out.width, c.width);
    ASSERT_EQ(out.height, c.height);
    ASSERT_EQ(out.bytesPerPixel, c.bytesPerPixel);
    ASSERT_EQ(out.pixels.size(), size_t{out.stride} * c.height);
    double worst = 0;
    for (uint32_t y = 0; y < c.height; ++y) {
      for (uint32_t x = 0; x < c.width; ++x) {
        for (uint32_t ch = 0; ch < c.bytesPerPixel; ++ch) {
          worst = std::max(worst, std::abs(out.At(x, y)[ch] - AreaMean(source, c.width, c.height, x, y, ch)));
        }
      }
    }
    // A whole picture shrunk to one pixel is its mean within a few levels.
    EXPECT_LE(worst, c.width == 1 ? 6.0 : 2.0) << c.fromWidth << "x" << c.fromHeight << " to " << c.width;
  }
}

TEST(PhotoResampler, FlatStaysFlatAndStripesAverage) {
  PixelBuffer flat = PixelBuffer::Blank(301, 203, 3);
  std::fill(flat.pixels.begin(), flat.pixels.end(), 200);
  const PixelBuffer shrunk = ResamplePixels(flat, 97, 61);
  for (uint32_t y = 0; y < 61; ++y) {
    for (uint32_t x = 0; x < 97 * 3; ++x) ASSERT_EQ(shrunk.At(0, y)[x], 200);
  }
  // One-pixel black and white columns halved: grey, not a moire.
  PixelBuffer stripes = PixelBuffer::Blank(400, 10, 3);
  for (uint32_t y = 0; y < 10; ++y) {
    for (uint32_t x = 0; x < 400; x += 2) std::fill_n(stripes.At(x, y), 3, 255);
  }
  const PixelBuffer grey = ResamplePixels(stripes, 200, 10);
  for (uint32_t x = 4; x < 196; ++x) EXPECT_NEAR(grey.At(x, 5)[0], 128, 1) << x;  // the edges lean one way
  EXPECT_TRUE(ResamplePixels(flat, 0, 5).pixels.empty());
  EXPECT_TRUE(ResamplePixels(PixelBuffer{}, 5, 5).pixels.empty());
}

// Fed a row at a time, through a window of a few rows, the result is the whole picture's to the
// byte: shrinking (a window smaller than the source), enlarging, one row, an odd tap count.
TEST(PhotoResampler, RowByRowMatchesWholePicture) {
  struct Case {
    uint32_t fromWidth, fromHeight, bytesPerPixel, width, height;
  };
  const Case cases[] = {
      {400, 300, 3, 205, 154}, {97, 61, 4, 40, 25}, {50, 20, 3, 120, 47}, {64, 1, 3, 16, 1}, {30, 90, 4, 30, 7}};
  for (const Case& c : cases) {
    const PixelBuffer source = Smooth(c.fromWidth, c.fromHeight, c.bytesPerPixel);
    RowResampler rows(c.fromWidth, c.fromHeight, c.bytesPerPixel, c.width, c.height);
    for (uint32_t y = 0; y < c.fromHeight; ++y) {
      EXPECT_TRUE(rows.Take().pixels.empty());  // not before the last row
      std::copy_n(source.At(0, y), size_t{c.fromWidth} * c.bytesPerPixel, rows.NextSourceRow());
      rows.AddSourceRow();
    }
    EXPECT_EQ(rows.NextSourceRow(), nullptr);
    const PixelBuffer whole = ResamplePixels(source, c.width, c.height);
    const PixelBuffer fed = rows.Take();
    EXPECT_EQ(fed.width, c.width);
    EXPECT_EQ(fed.height, c.height);
    EXPECT_EQ(fed.pixels, whole.pixels) << c.fromWidth << "x" << c.fromHeight << " to " << c.width << "x" << c.height;
  }
  EXPECT_EQ(RowResampler(10, 10, 3, 0, 5).NextSourceRow(), nullptr);
}

}  // namespace
}  // namespace fernwick
