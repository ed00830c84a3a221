// Sizes, names and turns of the JPEG working copies.
#include <gtest/gtest.h>

#include <string>

#include "imaging/core/copy_rules.h"
#include "imaging/core/quarter_turn.h"

namespace fernwick {
namespace {

TEST(PhotoCopyRules, WhichPicturesAreScaled) {
  struct Case {
    uint32_t width, height;
    int32_t limit;
    bool scaled;
  };
  const Case cases[] = {
      {1600, 1200, 1600, false}, {1600, 1200, 1280, true}, {1601, 1200, 1600, true}, {1200, 1601, 1600, true},
      {1024, 1024, 1024, false}, {1025, 1, 1024, true},    {500, 400, 800, false},   {5000, 10, -1, false},
  };
  for (const Case& c : cases) EXPECT_EQ(ExceedsLimit(c.width, c.height, c.limit), c.scaled) << c.width;
}

TEST(PhotoCopyRules, ScaledSizes) {
  struct Case {
    uint32_t width, height;
    int32_t limit;
    PixelSize size;
  };
  const Case cases[] = {
      {4000, 3000, 1024, {1024, 768}}, {3000, 4000, 1024, {768, 1024}},  {2000, 2000, 800, {800, 800}},
      {1000, 999, 800, {800, 799}},    {1280, 1281, 1280, {1279, 1280}}, {1601, 1200, 1600, {1600, 1199}},
      {1600, 1200, 1280, {1280, 960}}, {1025, 1, 1024, {1024, 1}},       {1, 5000, 800, {1, 800}},
      {3001, 2000, 1024, {1024, 682}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaledSize(c.width, c.height, c.limit), c.size) << c.width << "x" << c.height << " @" << c.limit;
  }
}

TEST(PhotoCopyRules, DecodeDenominators) {
  struct Case {
    uint32_t width, height;
    PixelSize wanted;
    uint32_t denominator;
  };
  const Case cases[] = {
      {4000, 3000, {1024, 768}, 2},   // 1/4 would give 1000 across
      {3000, 4000, {768, 1024}, 2},   // a portrait the same
      {8200, 6000, {1024, 749}, 8},   // 1025 x 750
      {8185, 6000, {1024, 749}, 8},   // 1023.1 rounds up to 1024, as the library's sides do
      {8184, 6000, {1024, 749}, 4},   // 1023 exactly
      {4096, 3072, {1024, 768}, 4},   // exactly 1024 x 768
      {1500, 1000, {1024, 682}, 1},
      {60000, 10, {1024, 1}, 8},      // 7500 x 2
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeDenominatorFor(c.width, c.height, c.wanted), c.denominator) << c.width << "x" << c.height;
  }
}

TEST(PhotoCopyRules, WorkingCopyNames) {
  // A profile folder named in any language.
  const std::wstring scaled = L"C:\\Users\\李 한 😀\\qvpicsendtmp\\";
  const std::wstring rotated = L"C:\\Users\\李 한 😀\\qvpicsendsnd\\";
  EXPECT_EQ(WorkingCopyName(scaled, 1001), scaled + L"1001.jpg");
  EXPECT_EQ(WorkingCopyName(rotated, 1002), rotated + L"1002.jpg");
}

TEST(PhotoCopyRules, TurnsForTheRotatedCopy) {
  struct Case {
    double angle;
    int32_t degrees;
    uint32_t value;
    bool swaps;
  };
  const Case cases[] = {
      {90, 90, 13, true},     {180, 180, 14, false}, {270, 270, 15, true}, {-90, 270, 15, true},
      {-180, 180, 14, false}, {-270, 90, 13, true},  {0, 0, 0, false},
  };
  for (const Case& c : cases) {
    const QuarterTurn turn = TurnForAngle(c.angle);
    EXPECT_EQ(turn.degrees, c.degrees) << c.angle;
    EXPECT_EQ(turn.transformValue, c.value) << c.angle;
    EXPECT_EQ(turn.swapsSides, c.swaps) << c.angle;
  }
}

}  // namespace
}  // namespace fernwick
