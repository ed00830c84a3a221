// libjpeg's objects as the program owns them: the writer after an error, the reader's bound on
// the scans of a progressive JPEG.
#include <malloc.h>

#include <gtest/gtest.h>

#include "support/exif_photos.h"

namespace fernwick {
namespace {

// The error comes after the output outgrew the writer's first room (a marker larger than it):
// too few rows for jpeg_finish_compress.
TEST(JpegLibrary, AWriteThatFailsAfterItsOutputGrewFailsCleanly) {
  const PixelBuffer scene = test::Scene(64, 48);
  const std::vector<uint8_t> marker(60000, 'x');
  for (int round = 0; round < 20; ++round) {
    JpegWriter writer;
    ASSERT_TRUE(test::StartJpeg(writer, scene, false, marker));
    EXPECT_FALSE(test::FinishJpeg(writer, scene, scene.height / 2));
    EXPECT_TRUE(writer.TakeBytes().empty());
  }
  EXPECT_EQ(_heapchk(), _HEAPOK);
}

TEST(JpegLibrary, AProgressiveJpegIsDecodedUpToTheBoundOnItsScans) {
  for (const size_t scans : {size_t{10}, kMostJpegScans, kMostJpegScans + 1}) {
    const std::vector<uint8_t> jpeg = test::ProgressiveJpeg(test::Scene(32, 32), scans);
    ASSERT_EQ(CountJpegScans(jpeg, 1000), scans);
    EXPECT_EQ(DecodeJpeg(jpeg).has_value(), scans <= kMostJpegScans) << scans;
  }
}

}  // namespace
}  // namespace fernwick
