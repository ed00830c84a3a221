#include "thumbview/core/grid_layout.h"

#include <algorithm>

namespace fernwick {

GridLayout LayOutGrid(std::size_t count, int32_t clientRight, int dpi) {
  const int32_t pitch = ScaleForDpi(kCellPitch, dpi);
  const int32_t half = ScaleForDpi(kHalfCell, dpi);
  const int32_t firstX = ScaleForDpi(kFirstCentreX, dpi);
  const int32_t firstY = ScaleForDpi(kFirstCentreY, dpi);
  GridLayout layout;
  layout.centres.reserve(count);
  int32_t x = firstX - pitch;
  int32_t y = firstY;
  int32_t inRow = 0;
  for (std::size_t i = 0; i < count; ++i) {
    x += pitch;
    ++inRow;
    if (x + half > clientRight) {
      x = firstX;
      y += pitch;
      inRow = 1;
    }
    if (i == 0) layout.rows.firstRowY = y;
    layout.rows.columns = std::max(layout.rows.columns, inRow);
    layout.centres.push_back({x, y});
  }
  layout.contentWidth = clientRight - ScaleForDpi(20, dpi);
  layout.contentHeight = y + ScaleForDpi(70, dpi);
  return layout;
}

namespace {
// Rounds toward minus infinity, as rows above the first come out negative.
int64_t FloorDiv(int64_t a, int64_t b) noexcept { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }
}  // namespace

PlaceRange PlacesMeeting(const GridRows& rows, std::size_t count, int32_t top, int32_t height, int dpi) noexcept {
  const int64_t pitch = ScaleForDpi(kCellPitch, dpi);
  const int64_t half = ScaleForDpi(kHalfCell, dpi);
  const int64_t columns = std::max(rows.columns, 1);
  if (count == 0 || height <= 0) return {};
  // Row r's cell spans firstRowY + r * pitch -/+ half: the first row reaching below `top` and
  // the last starting above `top + height`.
  const int64_t firstRow = std::max<int64_t>(0, FloorDiv(int64_t{top} - half - rows.firstRowY, pitch) + 1);
  const int64_t lastRow = FloorDiv(int64_t{top} + height + half - rows.firstRowY - 1, pitch);
  if (lastRow < firstRow) return {};
  const auto place = [&](int64_t row) { return static_cast<std::size_t>(std::min<int64_t>(row * columns, count)); };
  return {place(firstRow), place(lastRow + 1)};
}

int32_t GridColumns(int32_t clientRight, int dpi) noexcept {
  const int32_t room = clientRight - ScaleForDpi(kFirstCentreX, dpi) - ScaleForDpi(kHalfCell, dpi);
  return room < 0 ? 1 : room / ScaleForDpi(kCellPitch, dpi) + 1;
}

}  // namespace fernwick
