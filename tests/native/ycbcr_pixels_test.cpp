// A video decoder's YCbCr planes turned into blue, green, red pixels with the matrix and range a
// file names, at every bit depth and chroma layout a HEIC holds, shrunk by a whole factor.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/core/ycbcr_pixels.h"

namespace fernwick {
namespace {

// One colour as a file's encoder writes it (H.273's equations), in planes of width x height.
struct Planes {
  std::vector<uint16_t> y, cb, cr;
  YCbCrPlanes view;
};
Planes Encoded(const uint8_t rgb[3], double kr, double kb, bool full, uint32_t depth, uint32_t width, uint32_t height,
               uint32_t shift) {
  const double r = rgb[0] / 255.0, g = rgb[1] / 255.0, b = rgb[2] / 255.0;
  const double luma = kr * r + (1 - kr - kb) * g + kb * b;
  const double cb = (b - luma) / (2 * (1 - kb)), cr = (r - luma) / (2 * (1 - kr));
  const double unit = std::ldexp(1.0, int(depth) - 8), top = std::ldexp(1.0, int(depth)) - 1;
  const auto y = uint16_t(std::lround(full ? luma * top : 16 * unit + 219 * unit * luma));
  const auto c = [&](double v) {  // full range's chroma of 0.5 would be one past the top
    return uint16_t(
        std::min<long>(std::lround(full ? (top + 1) / 2 + v * top : 128 * unit + 224 * unit * v), long(top)));
  };
  Planes p;
  const uint32_t cw = (width + shift) >> shift, ch = (height + shift) >> shift;
  p.y.assign(width * height, y);
  p.cb.assign(cw * ch, c(cb));
  p.cr.assign(cw * ch, c(cr));
  if (depth == 8) {  // bytes, packed in place
    for (auto* plane : {&p.y, &p.cb, &p.cr}) {
      std::vector<uint16_t> packed((plane->size() + 1) / 2);
      for (size_t i = 0; i < plane->size(); ++i) reinterpret_cast<uint8_t*>(packed.data())[i] = uint8_t((*plane)[i]);
      *plane = packed;
    }
  }
  const int bytes = depth == 8 ? 1 : 2;
  p.view = {width,
            height,
            depth,
            shift,
            shift,
            reinterpret_cast<const uint8_t*>(p.y.data()),
            reinterpret_cast<const uint8_t*>(p.cb.data()),
            reinterpret_cast<const uint8_t*>(p.cr.data()),
            int(width) * bytes,
            int(cw) * bytes,
            int(cw) * bytes};
  return p;
}

TEST(YCbCrPixels, EveryMatrixRangeAndDepthGivesTheColourBack) {
  const uint8_t colours[][3] = {{255, 0, 0}, {0, 192, 0}, {20, 40, 230}, {250, 220, 10}, {128, 128, 128}};
  const struct {
    uint16_t code;
    double kr, kb;
    bool full;
    uint32_t depth, shift;
  } cases[] = {
      {6, 0.299, 0.114, true, 8, 1},    {6, 0.299, 0.114, false, 8, 1},    {1, 0.2126, 0.0722, true, 8, 1},
      {1, 0.2126, 0.0722, false, 8, 0}, {1, 0.2126, 0.0722, false, 10, 1}, {9, 0.2627, 0.0593, true, 10, 0},
      {2, 0.299, 0.114, true, 12, 1},   {5, 0.299, 0.114, false, 10, 1},
  };
  for (const auto& c : cases) {
    for (const auto& colour : colours) {
      SCOPED_TRACE(testing::Message() << "matrix " << c.code << (c.full ? " full" : " limited") << ", " << c.depth
                                      << " bits, colour " << int(colour[0]) << "," << int(colour[1]) << ","
                                      << int(colour[2]));
      const Planes planes = Encoded(colour, c.kr, c.kb, c.full, c.depth, 6, 4, c.shift);
      const std::optional<YCbCrMatrix> matrix = MatrixForCodePoint(c.code, c.full, std::nullopt);
      ASSERT_TRUE(matrix);
      const PixelBuffer out = BgrFromYCbCr(planes.view, *matrix, 2);
      ASSERT_EQ(out.width, 3u);
      ASSERT_EQ(out.height, 2u);
      for (int i = 0; i < 3; ++i) EXPECT_NEAR(out.At(2, 1)[2 - i], colour[i], 2) << "channel " << i;
    }
  }
}

TEST(YCbCrPixels, MatricesDerivedFromPrimariesAndThoseNotWeightedSums) {
  const Chromaticities bt709{0.64, 0.33, 0.30, 0.60, 0.15, 0.06, 0.3127, 0.3290};
  const std::optional<YCbCrMatrix> derived = MatrixForCodePoint(12, true, bt709);
  ASSERT_TRUE(derived);
  EXPECT_NEAR(derived->kr, 0.2126, 0.0005);
  EXPECT_NEAR(derived->kb, 0.0722, 0.0005);
  for (uint16_t code : {8, 11, 14}) EXPECT_FALSE(MatrixForCodePoint(code, true, std::nullopt)) << code;
}

// Each output pixel averages its own block: the left half red, the right half blue stay apart,
// an odd side keeps its last partial block, and a picture without chroma comes out grey.
TEST(YCbCrPixels, ShrinkingAveragesEachBlockOnly) {
  const uint8_t red[3] = {255, 0, 0}, blue[3] = {0, 0, 255};
  Planes left = Encoded(red, 0.299, 0.114, true, 8, 8, 5, 1);
  const Planes right = Encoded(blue, 0.299, 0.114, true, 8, 8, 5, 1);
  for (uint32_t y = 0; y < 5; ++y)
    std::memcpy(reinterpret_cast<uint8_t*>(left.y.data()) + y * 8 + 4,
                reinterpret_cast<const uint8_t*>(right.y.data()) + y * 8 + 4, 4);
  for (uint32_t y = 0; y < 3; ++y) {
    for (auto [to, from] : {std::pair{&left.cb, &right.cb}, std::pair{&left.cr, &right.cr}}) {
      std::memcpy(reinterpret_cast<uint8_t*>(to->data()) + y * 4 + 2,
                  reinterpret_cast<const uint8_t*>(from->data()) + y * 4 + 2, 2);
    }
  }
  const YCbCrMatrix bt601;
  const PixelBuffer out = BgrFromYCbCr(left.view, bt601, 4);
  ASSERT_EQ(out.width, 2u);
  ASSERT_EQ(out.height, 2u);
  for (uint32_t y = 0; y < 2; ++y) {
    EXPECT_GT(out.At(0, y)[2], 250);
    EXPECT_LT(out.At(0, y)[0], 5);
    EXPECT_GT(out.At(1, y)[0], 250);
    EXPECT_LT(out.At(1, y)[2], 5);
  }
  YCbCrPlanes grey = left.view;
  grey.cb = grey.cr = nullptr;
  const PixelBuffer mono = BgrFromYCbCr(grey, bt601, 1);
  ASSERT_EQ(mono.width, 8u);
  EXPECT_EQ(mono.At(0, 0)[0], mono.At(0, 0)[2]);
  EXPECT_EQ(mono.At(0, 0)[1], reinterpret_cast<const uint8_t*>(left.y.data())[0]);
}

}  // namespace
}  // namespace fernwick
