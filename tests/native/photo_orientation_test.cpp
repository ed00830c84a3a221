// The eight stored orientations and the user's quarter turns, as one transform of the pixels:
// a 3 x 2 scene stored as each orientation's definition says comes back upright, then turned.
#include <gtest/gtest.h>

#include "imaging/core/pixel_buffer.h"
#include "tests/common/exif_fixture.h"

namespace fernwick {
namespace {

using Picture = std::vector<std::vector<uint8_t>>;  // rows of one-byte pixels

Picture Apply(PixelTransform t, const Picture& p) {
  PixelBuffer buffer = PixelBuffer::Blank(uint32_t(p[0].size()), uint32_t(p.size()), 1);
  for (uint32_t y = 0; y < buffer.height; ++y) {
    for (uint32_t x = 0; x < buffer.width; ++x) *buffer.At(x, y) = p[y][x];
  }
  const PixelBuffer turned = TransformPixels(buffer, t);
  Picture out(turned.height, std::vector<uint8_t>(turned.width));
  for (uint32_t y = 0; y < turned.height; ++y) {
    for (uint32_t x = 0; x < turned.width; ++x) out[y][x] = *turned.At(x, y);
  }
  return out;
}

TEST(PhotoOrientation, EveryOrientationAndTurnEndsUprightThenTurned) {
  const Picture scene = {{1, 2, 3}, {4, 5, 6}};
  for (uint16_t orientation = 1; orientation <= 8; ++orientation) {
    Picture expected = scene;
    for (int32_t degrees : {0, 90, 180, 270}) {
      const Picture result =
          Apply(UprightTransform(orientation, degrees), Apply(test::StoringTransform(orientation), scene));
      EXPECT_EQ(result, expected) << "orientation " << orientation << ", turned " << degrees;
      expected = Apply(PixelTransform::kRotate90, expected);
    }
  }
  EXPECT_EQ(UprightTransform(0, 45), PixelTransform::kNone);
  EXPECT_EQ(UprightTransform(9, 90), PixelTransform::kRotate90);
}

}  // namespace
}  // namespace fernwick
