#include "app/core/main_layout.h"

#include <gtest/gtest.h>

#include <utility>

namespace fernwick {
namespace {

struct LayoutCase {
  int width, height;
  LayoutRect upload, ok, quotaLine, photoSiteLink, view;
};

// clang-format off
const LayoutCase kCases[] = {
  // Client height 400: view 253 high from y 75; buttons at 349, quota line at 383, link at 348.
  {500, 400, {403, 349, 75, 24}, {310, 349, 75, 24}, {10, 383, 200, 12}, {12, 348, 52, 17}, {0, 75, 500, 253}},
  {800, 600, {703, 549, 75, 24}, {610, 549, 75, 24}, {10, 583, 200, 12}, {12, 548, 52, 17}, {0, 75, 800, 453}},
  {387, 447, {290, 396, 75, 24}, {197, 396, 75, 24}, {10, 430, 200, 12}, {12, 395, 52, 17}, {0, 75, 387, 300}},
};
// clang-format on

TEST(MainLayout, PlacesEveryMovableChild) {
  for (const LayoutCase& c : kCases) {
    const MainLayout layout = ComputeMainLayout(c.width, c.height);
    EXPECT_EQ(layout.upload, c.upload) << c.width << "x" << c.height;
    EXPECT_EQ(layout.back, c.upload) << "Back shares Upload's place";
    EXPECT_EQ(layout.ok, c.ok);
    EXPECT_EQ(layout.quotaLine, c.quotaLine);
    EXPECT_EQ(layout.photoSiteLink, c.photoSiteLink);
    EXPECT_EQ(layout.view, c.view);
  }
}

TEST(MainLayout, TheViewEndsAboveTheButtons) {
  for (const LayoutCase& c : kCases) {
    const MainLayout layout = ComputeMainLayout(c.width, c.height);
    EXPECT_LT(layout.view.y + layout.view.height, layout.upload.y);
    EXPECT_LT(layout.view.y + layout.view.height, layout.photoSiteLink.y);
  }
}

TEST(MainLayout, TheAddingLineFitsBetweenTheLinkAndUploadBelowTheView) {
  for (const LayoutCase& c : kCases) {
    const MainLayout layout = ComputeMainLayout(c.width, c.height);
    const int viewBottom = layout.view.y + layout.view.height;
    for (const LayoutRect& part : {layout.addingText, layout.addingBar, layout.addingStop}) {
      EXPECT_GT(part.x, layout.photoSiteLink.x + layout.photoSiteLink.width) << c.width;
      EXPECT_LT(part.x + part.width, layout.upload.x) << c.width;
      EXPECT_GT(part.y, viewBottom) << c.width;
      EXPECT_LT(part.y + part.height, layout.quotaLine.y) << c.width;
    }
    EXPECT_LT(layout.addingText.y + layout.addingText.height, layout.addingBar.y);
    EXPECT_LT(layout.addingBar.x + layout.addingBar.width, layout.addingStop.x);
    // Room for "正在加入图片 200/200" in the 12-pixel font.
    EXPECT_GE(layout.addingText.width, 130) << c.width;
  }
}

TEST(MainLayout, TheTabCarriesTheToolbarAndFramesTheView) {
  const auto points = TabFramePoints(500, 400);
  const LayoutPoint expected[] = {{-1, 38}, {195, 38}, {232, 74}, {500, 74}, {500, 329}, {-1, 329}};
  for (size_t i = 0; i < points.size(); ++i) EXPECT_EQ(points[i], expected[i]) << i;
  // The body's lower edge lies one pixel below the view.
  const MainLayout layout = ComputeMainLayout(500, 400);
  EXPECT_EQ(points[4].y, layout.view.y + layout.view.height + 1);
}

TEST(MainLayout, TheLogoSitsInTheTopRightCorner) {
  EXPECT_EQ(LogoRect(500), (LayoutRect{355, 12, 111, 39}));
  EXPECT_EQ(LogoRect(387), (LayoutRect{242, 12, 111, 39}));
}

TEST(MainLayout, MinimumTrackingSize) {
  EXPECT_EQ(kMinTrackWidth, 395);
  EXPECT_EQ(kMinTrackHeight, 440);
}

// At 150 % and 200 % every figure is the 96-DPI one scaled, rounded as MulDiv rounds (halves
// away from zero): 97 at 144 DPI is 146, 75 is 113. Distances from the right and bottom edges
// are scaled as distances, so the buttons keep their scaled margins.
struct ScaledCase {
  int dpi, width, height;
  LayoutRect upload, ok, quotaLine, photoSiteLink, view, logo;
  LayoutPoint tab[6];
  LayoutPoint minTrack;
};

// clang-format off
const ScaledCase kScaledCases[] = {
  {96, 500, 400, {403, 349, 75, 24}, {310, 349, 75, 24}, {10, 383, 200, 12}, {12, 348, 52, 17}, {0, 75, 500, 253},
   {355, 12, 111, 39}, {{-1, 38}, {195, 38}, {232, 74}, {500, 74}, {500, 329}, {-1, 329}}, {395, 440}},
  {144, 750, 600, {604, 523, 113, 36}, {465, 523, 113, 36}, {15, 574, 300, 18}, {18, 522, 78, 26}, {0, 113, 750, 379},
   {532, 18, 167, 59}, {{-1, 57}, {293, 57}, {348, 112}, {750, 112}, {750, 493}, {-1, 493}}, {593, 660}},
  {192, 1000, 800, {806, 698, 150, 48}, {620, 698, 150, 48}, {20, 766, 400, 24}, {24, 696, 104, 34}, {0, 150, 1000, 506},
   {710, 24, 222, 78}, {{-1, 76}, {390, 76}, {464, 149}, {1000, 149}, {1000, 657}, {-1, 657}}, {790, 880}},
};
// clang-format on

TEST(MainLayout, ScalesEveryFigureWithTheWindowsDpi) {
  for (const ScaledCase& c : kScaledCases) {
    const MainLayout layout = ComputeMainLayout(c.width, c.height, c.dpi);
    EXPECT_EQ(layout.upload, c.upload) << c.dpi;
    EXPECT_EQ(layout.back, c.upload) << c.dpi;
    EXPECT_EQ(layout.ok, c.ok) << c.dpi;
    EXPECT_EQ(layout.quotaLine, c.quotaLine) << c.dpi;
    EXPECT_EQ(layout.photoSiteLink, c.photoSiteLink) << c.dpi;
    EXPECT_EQ(layout.view, c.view) << c.dpi;
    EXPECT_EQ(LogoRect(c.width, c.dpi), c.logo) << c.dpi;
    EXPECT_EQ(MinTrackSize(c.dpi), c.minTrack) << c.dpi;
    const auto points = TabFramePoints(c.width, c.height, c.dpi);
    for (size_t i = 0; i < points.size(); ++i) EXPECT_EQ(points[i], c.tab[i]) << c.dpi << " corner " << i;
    EXPECT_EQ(points[4].y, layout.view.y + layout.view.height + 1) << "one pixel below the view at " << c.dpi;
  }
  // The nearest drawing of a bitmap: 100 % up to 119 DPI, 150 % up to 167, 200 % above.
  const std::pair<int, int> drawings[] = {{96, 212}, {119, 212}, {120, 312}, {144, 312}, {167, 312}, {168, 412}, {240, 412}};
  for (const auto& [dpi, id] : drawings) EXPECT_EQ(BitmapIdForDpi(212, dpi), id) << dpi;
  EXPECT_EQ(ScaleForDpi(-1, 144), -2) << "halves away from zero";
}

}  // namespace
}  // namespace fernwick
