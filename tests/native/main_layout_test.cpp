#include "app/core/main_layout.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace fernwick
