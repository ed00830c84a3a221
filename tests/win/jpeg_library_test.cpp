// libjpeg's objects as the program owns them: the writer after an error, the reader's bound on
// the scans of a progressive JPEG, the large blocks kept from one picture for the next.
#include <malloc.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "support/exif_photos.h"

#define JPEG_INTERNALS
#include <jpeglib.h>
extern "C" {
#include <jmemsys.h>
}

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

// The large blocks kept between pictures: one comes back only for a request it holds and does
// not dwarf, and the caller may write to the last byte it asked for. (The cases run in order:
// each leaves its blocks kept, none of which fits a later case better than its own.)
TEST(JpegLibrary, AKeptBlockServesOnlyARequestItFits) {
  constexpr size_t kMegabyte = 1024 * 1024;
  struct Case {
    size_t freed, asked;
    bool reused;
  };
  const Case cases[] = {{kMegabyte, kMegabyte, true},
                        {kMegabyte, kMegabyte * 3 / 4, true},
                        {kMegabyte, kMegabyte + 1, false},           // too small
                        {kMegabyte * 3, kMegabyte * 7 / 5, false}};  // wastes over half of itself
  for (const Case& c : cases) {
    void* freed = jpeg_get_large(nullptr, c.freed);
    ASSERT_NE(freed, nullptr);
    jpeg_free_large(nullptr, freed, c.freed);
    auto* asked = static_cast<uint8_t*>(jpeg_get_large(nullptr, c.asked));
    ASSERT_NE(asked, nullptr);
    EXPECT_EQ(asked == freed, c.reused) << c.freed << " then " << c.asked;
    std::fill_n(asked, c.asked, uint8_t{0x5A});
    jpeg_free_large(nullptr, asked, c.asked);
  }
  EXPECT_EQ(_heapchk(), _HEAPOK);
}

}  // namespace
}  // namespace fernwick
