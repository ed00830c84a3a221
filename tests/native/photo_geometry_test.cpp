// Thumbnail geometry of a photo: scale, frame, turns, moves, tooltip text and fitting.
#include <gtest/gtest.h>

#include "imaging/core/photo_geometry.h"

namespace fernwick {
namespace {

struct ScaleCase {
  int32_t width, height;
  double scale;
  FrameRect frame;
};

TEST(PhotoGeometry, ScaleAndFrameFollowThePictureSize) {
  const ScaleCase cases[] = {
      {2000, 1000, 0.05, {-50, -25, 50, 25}},
      {60, 40, 1.0, {-30, -20, 30, 20}},
      {75, 30, 1.0, {-37, -15, 37, 15}},
      {1000, 2000, 0.05, {-25, -50, 25, 50}},
      {100, 100, 1.0, {-50, -50, 50, 50}},
      {101, 50, 100.0 / 101.0, {-50, -24, 50, 24}},
      {0, 0, 1.0, {0, 0, 0, 0}},  // did not decode
      {3000, 1, 100.0 / 3000.0, {-50, 0, 50, 0}},
  };
  for (const ScaleCase& c : cases) {
    const PhotoGeometry g(c.width, c.height);
    EXPECT_DOUBLE_EQ(g.thumbScale, c.scale) << c.width << "x" << c.height;
    EXPECT_EQ(g.frameRect, c.frame) << c.width << "x" << c.height;
    EXPECT_EQ(g.angle, 0);
    EXPECT_EQ(g.centreX, 0);
    EXPECT_EQ(g.centreY, 0);
    EXPECT_EQ(g.width, c.width);
    EXPECT_EQ(g.height, c.height);
  }
}

// The box of a larger DPI: made for it, or refitted to it where the photo is and as it is turned
// (the same frame either way).
TEST(PhotoGeometry, ABoxOtherThanTheDefaultScalesTheThumbnail) {
  struct BoxCase {
    int32_t box;
    double scale;
    FrameRect made, refitted;  // refitted: centred on (65, 70), a quarter turn clockwise
  };
  const BoxCase cases[] = {
      {100, 0.05, {-50, -25, 50, 25}, {40, 20, 90, 120}},
      {150, 0.075, {-75, -37, 75, 37}, {28, -5, 102, 145}},
      {200, 0.1, {-100, -50, 100, 50}, {15, -30, 115, 170}},
      {3000, 1.0, {-1000, -500, 1000, 500}, {-435, -930, 565, 1070}},  // never enlarged
  };
  for (const BoxCase& c : cases) {
    const PhotoGeometry made(2000, 1000, c.box);
    EXPECT_DOUBLE_EQ(made.thumbScale, c.scale) << c.box;
    EXPECT_EQ(made.frameRect, c.made) << c.box;
    PhotoGeometry refitted(2000, 1000);
    refitted.MoveCentreTo(65, 70);
    refitted.TurnQuarter(true);
    refitted.FitToBox(c.box);
    EXPECT_DOUBLE_EQ(refitted.thumbScale, c.scale) << c.box;
    EXPECT_EQ(refitted.frameRect, c.refitted) << c.box;
    EXPECT_EQ(refitted.centreX, 65);
    EXPECT_EQ(refitted.angle, 90);
  }
}

TEST(PhotoGeometry, MoveCentreShiftsTheFrame) {
  PhotoGeometry g(2000, 1000);
  g.MoveCentreTo(65, 70);
  EXPECT_EQ(g.frameRect, (FrameRect{15, 45, 115, 95}));
  g.MoveCentreTo(185, 190);
  EXPECT_EQ(g.frameRect, (FrameRect{135, 165, 235, 215}));
  EXPECT_EQ(g.centreX, 185);
  EXPECT_EQ(g.centreY, 190);
}

TEST(PhotoGeometry, QuarterTurnTransposesTheFrameAroundTheCentre) {
  PhotoGeometry g(2000, 1000);
  g.MoveCentreTo(65, 70);
  g.TurnQuarter(true);
  EXPECT_EQ(g.angle, 90);
  EXPECT_EQ(g.frameRect, (FrameRect{40, 20, 90, 120}));
  g.TurnQuarter(true);
  EXPECT_EQ(g.frameRect, (FrameRect{15, 45, 115, 95}));
}

TEST(PhotoGeometry, FullTurnsComeBackToZeroWithoutNormalisingTheSign) {
  struct TurnCase {
    std::vector<bool> turns;  // true = clockwise
    std::vector<double> angles;
  };
  const TurnCase cases[] = {
      {{true, true, true, true}, {90, 180, 270, 0}},
      {{false, false, false, false}, {-90, -180, -270, 0}},
      {{false, false, false, true}, {-90, -180, -270, -180}},
      {{true, false}, {90, 0}},
      {{false, true, true}, {-90, 0, 90}},
  };
  for (const TurnCase& c : cases) {
    PhotoGeometry g(300, 200);
    for (std::size_t i = 0; i < c.turns.size(); ++i) {
      g.TurnQuarter(c.turns[i]);
      EXPECT_EQ(g.angle, c.angles[i]) << "turn " << i;
    }
  }
}

TEST(PhotoGeometry, OddFrameLosesAPixelPerTurn) {
  PhotoGeometry g(75, 30);  // -37 .. 37 by -15 .. 15
  g.MoveCentreTo(100, 100);
  g.TurnQuarter(true);
  EXPECT_EQ(g.frameRect, (FrameRect{85, 63, 115, 137}));
}

TEST(PhotoGeometry, HitBoxIsLeftTopInclusiveRightBottomExclusive) {
  const FrameRect r{10, 20, 30, 40};
  EXPECT_TRUE(r.Contains(10, 20));
  EXPECT_TRUE(r.Contains(29, 39));
  EXPECT_FALSE(r.Contains(30, 39));
  EXPECT_FALSE(r.Contains(29, 40));
  EXPECT_FALSE(r.Contains(9, 25));
  EXPECT_FALSE(FrameRect{}.Contains(0, 0));
}

TEST(PhotoGeometry, TooltipShowsTheTurnedSizeAndKilobytes) {
  struct TipCase {
    int32_t width, height, fileSize;
    int turns;
    const char* text;
  };
  const TipCase cases[] = {
      {3000, 2000, 1500000, 0, " 3000 x 2000, 1465 KB "},
      {3000, 2000, 1500000, 1, " 2000 x 3000, 1465 KB "},
      {3000, 2000, 1500000, 2, " 3000 x 2000, 1465 KB "},
      {3000, 2000, 1500000, -1, " 2000 x 3000, 1465 KB "},
      {3000, 2000, 1500000, -3, " 2000 x 3000, 1465 KB "},
      {640, 480, 0, 0, " 640 x 480, 1 KB "},
      {640, 480, 1023, 0, " 640 x 480, 1 KB "},
      {640, 480, 1024, 0, " 640 x 480, 2 KB "},
  };
  for (const TipCase& c : cases) {
    PhotoGeometry g(c.width, c.height);
    for (int i = 0; i < std::abs(c.turns); ++i) g.TurnQuarter(c.turns > 0);
    EXPECT_EQ(SizeTooltipText(g, c.fileSize), c.text);
  }
}

TEST(PhotoGeometry, FittedOutlineUsesTheUnturnedSize) {
  struct FitCase {
    int32_t width, height, x, y, box;
    double scale;
    FrameRect outline;
  };
  const FitCase cases[] = {
      {2000, 1000, 194, 70, 100, 0.05, {139, 40, 249, 100}},
      {1000, 2000, 194, 70, 100, 0.05, {164, 15, 224, 125}},
      {60, 40, 194, 70, 100, 1.0, {159, 45, 229, 95}},
      {0, 0, 194, 70, 100, 1.0, {189, 65, 199, 75}},
  };
  for (const FitCase& c : cases) {
    const FittedPlacement p = FitIntoBox(c.width, c.height, c.x, c.y, c.box);
    EXPECT_DOUBLE_EQ(p.scale, c.scale);
    EXPECT_EQ(p.outline, c.outline) << c.width << "x" << c.height;
  }
}

}  // namespace
}  // namespace fernwick
