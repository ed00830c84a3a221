// The grid's cell positions and content size, and the scrolling arithmetic.
#include <gtest/gtest.h>

#include "thumbview/core/grid_layout.h"
#include "thumbview/core/scroll_state.h"

namespace fernwick {
namespace {

TEST(ThumbnailGrid, FourPerRowAt600) {
  const GridLayout grid = LayOutGrid(5, 600);
  const std::vector<GridPoint> expected{{65, 70}, {185, 70}, {305, 70}, {425, 70}, {65, 190}};
  EXPECT_EQ(grid.centres, expected);
  EXPECT_EQ(grid.contentWidth, 580);
  EXPECT_EQ(grid.contentHeight, 260);
}

TEST(ThumbnailGrid, FivePerRowAt605) {
  const GridLayout grid = LayOutGrid(6, 605);
  const std::vector<GridPoint> expected{{65, 70}, {185, 70}, {305, 70}, {425, 70}, {545, 70}, {65, 190}};
  EXPECT_EQ(grid.centres, expected);
  EXPECT_EQ(grid.contentWidth, 585);
  EXPECT_EQ(grid.contentHeight, 260);
}

TEST(ThumbnailGrid, EmptyListHasOneRowOfContent) {
  const GridLayout grid = LayOutGrid(0, 400);
  EXPECT_TRUE(grid.centres.empty());
  EXPECT_EQ(grid.contentWidth, 380);
  EXPECT_EQ(grid.contentHeight, 140);
}

TEST(ThumbnailGrid, NarrowClientWrapsEveryPhotoTheFirstIncluded) {
  const GridLayout grid = LayOutGrid(3, 124);
  const std::vector<GridPoint> expected{{65, 190}, {65, 310}, {65, 430}};
  EXPECT_EQ(grid.centres, expected);
  EXPECT_EQ(grid.contentHeight, 500);
  const GridLayout exact = LayOutGrid(2, 125);
  EXPECT_EQ(exact.centres, (std::vector<GridPoint>{{65, 70}, {65, 190}}));
}

TEST(ThumbnailGrid, ThousandPhotosAtTypicalWidth) {
  const GridLayout grid = LayOutGrid(1000, 700);  // five per row
  ASSERT_EQ(grid.centres.size(), 1000u);
  EXPECT_EQ(grid.centres[999], (GridPoint{545, 70 + 199 * 120}));
  EXPECT_EQ(grid.contentHeight, 70 + 199 * 120 + 70);
}

TEST(ThumbnailGrid, ColumnsAreThePhotosOfTheFirstRow) {
  const struct {
    int32_t clientRight;
    int dpi;
    int32_t columns;
  } cases[] = {{124, 96, 1}, {125, 96, 1}, {600, 96, 4}, {605, 96, 5}, {910, 144, 5}, {1260, 192, 5}, {0, 192, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.clientRight << " at " << c.dpi);
    EXPECT_EQ(GridColumns(c.clientRight, c.dpi), c.columns);
    const GridLayout grid = LayOutGrid(8, c.clientRight, c.dpi);
    int32_t firstRow = 0;
    for (const GridPoint& centre : grid.centres) firstRow += centre.y == grid.centres.front().y;
    EXPECT_EQ(firstRow, c.columns);
  }
}

TEST(ThumbnailScroll, StepsFollowTheContent) {
  ScrollAxis axis;
  axis.SetContent(2460);
  EXPECT_EQ(axis.line, 24);
  EXPECT_EQ(axis.page, 246);
  axis.SetContent(5);
  EXPECT_EQ(axis.line, 1);
  EXPECT_EQ(axis.page, 1);
}

TEST(ThumbnailScroll, RequestsStayInsideTheContent) {
  ScrollAxis axis;
  axis.SetContent(1000);
  axis.client = 300;
  struct Case {
    int32_t offset;
    ScrollRequest request;
    int32_t thumb, result;
  };
  const Case cases[] = {
      {0, ScrollRequest::LineUp, 0, 0},       {0, ScrollRequest::LineDown, 0, 10},
      {695, ScrollRequest::LineDown, 0, 700}, {50, ScrollRequest::PageUp, 0, 0},
      {50, ScrollRequest::PageDown, 0, 150},  {650, ScrollRequest::PageDown, 0, 700},
      {300, ScrollRequest::Top, 0, 0},        {0, ScrollRequest::Bottom, 0, 700},
      {0, ScrollRequest::Thumb, 456, 456},    {0, ScrollRequest::Thumb, 9999, 700},
      {123, ScrollRequest::None, 0, 123},
  };
  for (const Case& c : cases) {
    axis.offset = c.offset;
    EXPECT_EQ(OffsetForRequest(axis, c.request, c.thumb), c.result) << static_cast<int>(c.request);
  }
  axis.client = 2000;  // everything fits
  EXPECT_EQ(axis.MaxOffset(), 0);
  EXPECT_EQ(axis.Clamp(50), 0);
  EXPECT_FALSE(axis.Scrollable());
}

TEST(ThumbnailScroll, NotchTargetsStayInsideTheContentAndLeaveOutWhereItCannotGo) {
  struct Case {
    int32_t offset, content, client, distance;
    std::vector<int32_t> targets;
  };
  const Case cases[] = {
      {0, 20000, 500, 600, {600}},               // at the top: only down
      {5000, 20000, 500, 600, {5600, 4400}},     // down first, then up
      {19300, 20000, 500, 600, {19500, 18700}},  // down stops at the end
      {19500, 20000, 500, 600, {18900}},         // at the end: only up
      {0, 400, 500, 600, {}},                    // nothing to scroll
  };
  for (const Case& c : cases) {
    ScrollAxis axis;
    axis.SetContent(c.content);
    axis.client = c.client;
    axis.offset = c.offset;
    EXPECT_EQ(NotchTargets(axis, c.distance), c.targets) << c.offset;
  }
}

TEST(ThumbnailScroll, WheelStepsAndRunningTotal) {
  WheelAccumulator wheel;
  EXPECT_EQ(wheel.Add(-120, 3), 3);  // toward the end, three lines
  EXPECT_EQ(wheel.Add(120, 3), -3);
  EXPECT_EQ(wheel.Add(40, 3), -1);  // (40 * 3 - 1) / 120 + 1
  EXPECT_EQ(wheel.Add(40, 3), -2);  // the total of 80 counts: (240 - 1) / 120 + 1
  EXPECT_EQ(wheel.Add(40, 3), -3);
  // The total came to 120 and went back to 0: a small turn starts afresh.
  EXPECT_EQ(wheel.Add(1, 1), -1);
  EXPECT_EQ(wheel.Add(-1, 1), 0);
  EXPECT_EQ(wheel.Add(-30, 1), 1);
  EXPECT_EQ(wheel.Add(0, 0), 0);
}

TEST(ThumbnailGrid, AtOneAndAHalfTimesTheDpiEveryFigureIsScaled) {
  // 120 apart from (98, 105) at 144 DPI: 180 apart; a 910-pixel row holds five cells.
  const GridLayout grid = LayOutGrid(6, 910, 144);
  const GridPoint expected[] = {{98, 105}, {278, 105}, {458, 105}, {638, 105}, {818, 105}, {98, 285}};
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(grid.centres[i], expected[i]) << i;
  EXPECT_EQ(grid.contentWidth, 880);
  EXPECT_EQ(grid.contentHeight, 390);
  const CellBounds cell = CellAround(98, 105, 144);
  EXPECT_EQ(cell.left, 8);
  EXPECT_EQ(cell.bottom, 195);
}

TEST(ThumbnailGrid, PlacesMeetingABandAreThoseWhoseCellsMeetIt) {
  struct Case {
    std::size_t count;
    int32_t clientRight;
    int dpi;
  };
  // Rows of five, one, and the narrow client whose first photo is wrapped too; at 96, 144 and 192 DPI.
  const Case grids[] = {{1000, 700, 96}, {7, 124, 96}, {23, 910, 144}, {10000, 1260, 192}, {0, 700, 96}};
  const int32_t bands[][2] = {{0, 500}, {-300, 200}, {59, 1}, {60, 1}, {130, 1}, {3000, 980}, {23990, 500}, {1, 0}};
  for (const Case& c : grids) {
    const GridLayout grid = LayOutGrid(c.count, c.clientRight, c.dpi);
    for (const auto& [top, height] : bands) {
      const PlaceRange range = PlacesMeeting(grid.rows, c.count, top, height, c.dpi);
      for (std::size_t place = 0; place < c.count; ++place) {
        const CellBounds cell = CellAround(grid.centres[place].x, grid.centres[place].y, c.dpi);
        const bool meets = height > 0 && cell.bottom > top && cell.top < top + height;
        EXPECT_EQ(meets, place >= range.first && place < range.last)
            << c.count << " at " << c.dpi << " DPI, band " << top << "+" << height << ", place " << place;
      }
    }
  }
}

}  // namespace
}  // namespace fernwick
