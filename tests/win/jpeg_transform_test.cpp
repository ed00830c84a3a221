// JPEGs made here with each EXIF orientation (a red block marks the top left as taken) are made
// upright without decoding: the copy's pixels are exactly the original's turned, its metadata
// is the original's with orientation 1, and a transform that would have to move partial edge
// blocks is refused instead of garbling them.
#include <gtest/gtest.h>

#include "imaging/jpeg_transform.h"
#include "support/exif_photos.h"

namespace fernwick {
namespace {

using test::PhotoJpeg;
using test::SamePixels;
using test::Scene;

TEST(JpegTransform, EveryOrientationAndTurnIsMadeUprightLosslessly) {
  const PixelBuffer scene = Scene(64, 48);
  for (uint16_t orientation = 1; orientation <= 8; ++orientation) {
    const std::vector<uint8_t> original = PhotoJpeg(scene, orientation);
    ASSERT_FALSE(original.empty());
    ASSERT_EQ(JpegOrientation(original), orientation);
    const std::optional<PixelBuffer> stored = DecodeJpeg(original, 3, 8);
    ASSERT_TRUE(stored);
    for (int32_t degrees : {0, 90}) {
      SCOPED_TRACE(testing::Message() << "orientation " << orientation << ", turned " << degrees);
      const std::optional<std::vector<uint8_t>> copy = UprightJpegCopy(original, degrees);
      ASSERT_TRUE(copy);
      const std::optional<PixelBuffer> turned = DecodeJpeg(*copy, 3, 8);
      ASSERT_TRUE(turned);
      EXPECT_TRUE(SamePixels(*turned, TransformPixels(*stored, UprightTransform(orientation, degrees))));

      const std::optional<PixelBuffer> full = DecodeJpeg(*copy, 4);
      ASSERT_TRUE(full);
      EXPECT_EQ(full->width, degrees ? 48u : 64u);
      // The red block is top left as taken, top right after a quarter turn.
      const uint8_t* corner = full->At(degrees ? full->width - 1 : 0, 0);
      EXPECT_TRUE(test::IsRed(corner))
          << int(corner[2]) << "," << int(corner[1]) << "," << int(corner[0]);

      test::ExpectUprightMetadata(*copy, full->width, full->height);
    }
  }
}

TEST(JpegTransform, PartialEdgeBlocksThatWouldMoveAreRefused) {
  // 64 wide is whole 16-pixel blocks, 50 high is not: only transforms that leave the bottom
  // edge's partial blocks at the bottom or right are exact.
  const std::vector<uint8_t> original = PhotoJpeg(Scene(64, 50), 1);
  const std::optional<PixelBuffer> stored = DecodeJpeg(original, 3, 8);
  ASSERT_TRUE(stored);
  const struct {
    PixelTransform transform;
    bool exact;
  } cases[] = {
      {PixelTransform::kFlipHorizontal, true}, {PixelTransform::kFlipVertical, false},
      {PixelTransform::kTranspose, true},      {PixelTransform::kTransverse, false},
      {PixelTransform::kRotate90, false},      {PixelTransform::kRotate180, false},
      {PixelTransform::kRotate270, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.transform));
    const std::optional<std::vector<uint8_t>> copy = TransformJpeg(original, c.transform, {});
    ASSERT_EQ(copy.has_value(), c.exact);
    if (!copy) continue;
    const std::optional<PixelBuffer> turned = DecodeJpeg(*copy, 3, 8);
    ASSERT_TRUE(turned);
    EXPECT_TRUE(SamePixels(*turned, TransformPixels(*stored, c.transform)));
  }
  EXPECT_FALSE(
      TransformJpeg(std::vector<uint8_t>(original.begin(), original.begin() + 100), PixelTransform::kTranspose, {}));
}

}  // namespace
}  // namespace fernwick
