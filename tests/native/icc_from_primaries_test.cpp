// The ICC profile made for a picture that names its colours only by code points: its colorants
// are the primaries as ICC's D50 sees them (Display P3's as Apple's own profile gives them), its
// curves undo the transfer, and transfers no curve can hold get none.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/core/icc_from_primaries.h"

namespace fernwick {
namespace {

uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}
double Fixed(const std::vector<uint8_t>& b, size_t at) { return int32_t(Be32(b, at)) / 65536.0; }

// The tag's offset and size from the table, or {0, 0}.
std::pair<uint32_t, uint32_t> Tag(const std::vector<uint8_t>& profile, const char* signature) {
  for (uint32_t i = 0, count = Be32(profile, 128); i < count; ++i) {
    const size_t at = 132 + 12 * i;
    if (std::string(profile.begin() + at, profile.begin() + at + 4) == signature)
      return {Be32(profile, at + 4), Be32(profile, at + 8)};
  }
  return {0, 0};
}

TEST(IccFromPrimaries, DisplayP3ColorantsCurvesAndLayout) {
  const Chromaticities p3{0.680, 0.320, 0.265, 0.690, 0.150, 0.060, 0.3127, 0.3290};
  const std::optional<std::vector<uint8_t>> profile = IccProfileForPrimaries(p3, 13, "Display P3");
  ASSERT_TRUE(profile);
  const std::vector<uint8_t>& b = *profile;
  EXPECT_EQ(Be32(b, 0), b.size());
  EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "acsp");
  const struct {
    const char* tag;
    double x, y, z;
  } colorants[] = {{"rXYZ", 0.5151, 0.2412, -0.0011},
                   {"gXYZ", 0.2920, 0.6922, 0.0419},
                   {"bXYZ", 0.1571, 0.0666, 0.7841},
                   {"wtpt", 0.9642, 1.0, 0.8249}};
  for (const auto& c : colorants) {
    const auto [at, size] = Tag(b, c.tag);
    ASSERT_EQ(size, 20u) << c.tag;
    ASSERT_LE(at + size, b.size());
    EXPECT_NEAR(Fixed(b, at + 8), c.x, 0.002) << c.tag;
    EXPECT_NEAR(Fixed(b, at + 12), c.y, 0.002) << c.tag;
    EXPECT_NEAR(Fixed(b, at + 16), c.z, 0.002) << c.tag;
  }
  const auto red = Tag(b, "rTRC");
  EXPECT_EQ(Tag(b, "gTRC"), red);
  EXPECT_EQ(Tag(b, "bTRC"), red);
  EXPECT_EQ(std::string(b.begin() + red.first, b.begin() + red.first + 4), "para");
  EXPECT_NEAR(Fixed(b, red.first + 12), 2.4, 0.0001);  // sRGB's exponent
  for (const auto& [signature, size] : {std::pair{"desc", 0u}, {"cprt", 0u}, {"chad", 0u}}) {
    EXPECT_GT(Tag(b, signature).second, size) << signature;
  }
  EXPECT_FALSE(IccProfileForPrimaries(p3, 16, "PQ")) << "PQ needs more than a curve";
  EXPECT_FALSE(IccProfileForPrimaries(p3, 18, "HLG"));
}

}  // namespace
}  // namespace fernwick
