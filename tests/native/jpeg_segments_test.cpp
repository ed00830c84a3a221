// The scans of a JPEG counted from its markers, before any decoder sees the file.
#include <gtest/gtest.h>

#include <string>

#include "imaging/core/jpeg_segments.h"

namespace fernwick {
namespace {

// A scan header, then coded data holding a stuffed 0xFF, a restart marker and fill.
const std::string kScan = std::string("\xFF\xDA\0\x04\x01\x02\x12\xFF\0\x34\xFF\xD0\x56\xFF", 14);
// An APP1 segment whose payload holds a thumbnail's scan marker: no scan of the file.
const std::string kApp1 = std::string("\xFF\xE1\0\x08\xFF\xDA\0\x04\x01\x02", 10);

TEST(JpegSegments, ScansAreCountedUpToOnePastTheBound) {
  const auto jpeg = [](const std::string& body, int scans) {
    std::string all = std::string("\xFF\xD8", 2) + body;
    for (int i = 0; i < scans; ++i) all += kScan;
    return all + "\xFF\xD9";
  };
  const struct {
    std::string bytes;
    size_t scans;
  } cases[] = {{jpeg("", 2).substr(2), 0},
               {jpeg(kApp1, 1), 1},
               {jpeg("", 10), 10},
               {jpeg("", 40), 11},
               {jpeg("", 3).substr(0, 39), 3},
               {std::string("\xFF\xD8\xFF\xDA\x70\0", 6), 0}};
  for (const auto& c : cases) {
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size());
    EXPECT_EQ(CountJpegScans(bytes, 10), c.scans) << &c - cases;
  }
}

}  // namespace
}  // namespace fernwick
