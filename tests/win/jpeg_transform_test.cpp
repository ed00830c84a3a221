// JPEGs made here with each EXIF orientation (a red block marks the top left as taken) are made
// upright without decoding: the copy's pixels are exactly the original's turned, its metadata
// is the original's with orientation 1, and a transform that would have to move partial edge
// blocks is refused instead of garbling them.
#include <gtest/gtest.h>

#include "imaging/core/jpeg_segments.h"
#include "imaging/jpeg_codec.h"
#include "imaging/jpeg_transform.h"
#include "tests/common/exif_fixture.h"

namespace fernwick {
namespace {

// Every 16 x 16 block (one block of 4:2:0 chroma) is one colour, so each 8 x 8 DCT block holds
// only its average: decoded at 1/8 scale, a pixel is exactly that average, whichever way the
// blocks were moved.
PixelBuffer Scene(uint32_t width, uint32_t height) {
  PixelBuffer scene = PixelBuffer::Blank(width, height, 3);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const uint32_t cell = (x / 16) * 7 + (y / 16) * 13;
      uint8_t* p = scene.At(x, y);
      const bool corner = x < 16 && y < 16;
      p[0] = corner ? 0 : uint8_t(40 + cell * 37 % 160);  // blue
      p[1] = corner ? 0 : uint8_t(40 + cell * 71 % 160);  // green
      p[2] = corner ? 255 : uint8_t(40 + cell * 23 % 160);
    }
  }
  return scene;
}

std::vector<uint8_t> PhotoJpeg(const PixelBuffer& scene, uint16_t orientation) {
  const PixelBuffer stored = TransformPixels(scene, test::StoringTransform(orientation));
  const test::ExifPhoto photo{.orientation = orientation, .pixelWidth = stored.width, .pixelHeight = stored.height};
  const AppSegment exif{0xE1, test::MakeExifPayload(test::MakeTiffBlock(photo))};
  return EncodeJpeg(stored, {&exif, 1}).value_or(std::vector<uint8_t>{});
}

bool SamePixels(const PixelBuffer& a, const PixelBuffer& b) {
  return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

std::optional<test::ExifFacts> CopyExif(const std::vector<uint8_t>& jpeg) {
  for (const JpegSegment& s : ReadJpegSegments(jpeg)) {
    if (s.marker == 0xE1) return test::ReadExifFacts(s.payload);
  }
  return std::nullopt;
}

TEST(JpegTransform, EveryOrientationAndTurnIsMadeUprightLosslessly) {
  const PixelBuffer scene = Scene(64, 48);
  const test::ExifPhoto taken;
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
      EXPECT_TRUE(corner[2] > 230 && corner[1] < 30 && corner[0] < 30)
          << int(corner[2]) << "," << int(corner[1]) << "," << int(corner[0]);

      const std::optional<test::ExifFacts> facts = CopyExif(*copy);
      ASSERT_TRUE(facts);
      EXPECT_EQ(facts->orientation, 1);
      EXPECT_EQ(facts->dateTaken, taken.dateTaken);
      EXPECT_EQ(facts->make + " " + facts->model, taken.make + " " + taken.model);
      EXPECT_EQ(facts->latitudeDegrees, taken.latitudeDegrees);
      EXPECT_EQ(facts->pixelWidth, full->width);
      EXPECT_EQ(facts->pixelHeight, full->height);
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
