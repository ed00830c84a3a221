#include "thumbview/core/grid_layout.h"

#include <algorithm>

namespace fernwick {

GridShape ShapeOfGrid(std::size_t count, int32_t clientRight, int dpi) noexcept {
  const int32_t pitch = ScaleForDpi(kCellPitch, dpi);
  const int32_t firstY = ScaleForDpi(kFirstCentreY, dpi);
  GridShape shape;
  shape.contentWidth = clientRight - ScaleForDpi(20, dpi);
  shape.contentHeight = firstY + ScaleForDpi(70, dpi);
  if (count == 0) return shape;
  const int32_t columns = GridColumns(clientRight, dpi);
  shape.rows.columns = static_cast<int32_t>(std::min<std::size_t>(static_cast<std::size_t>(columns), count));
  // A client too narrow for one cell wraps every photo, the first one included.
  const bool wrapsFirst = ScaleForDpi(kFirstCentreX, dpi) + ScaleForDpi(kHalfCell, dpi) > clientRight;
  shape.rows.firstRowY = wrapsFirst ? firstY + pitch : firstY;
  const auto lastRow = static_cast<int32_t>((count - 1) / static_cast<std::size_t>(columns));
  shape.contentHeight = shape.rows.firstRowY + lastRow * pitch + ScaleForDpi(70, dpi);
  return shape;
}

GridPoint CentreOfPlace(const GridRows& rows, std::size_t place, int dpi) noexcept {
  const int32_t pitch = ScaleForDpi(kCellPitch, dpi);
  const auto columns = static_cast<std::size_t>(std::max(rows.columns, 1));
  return {ScaleForDpi(kFirstCentreX, dpi) + static_cast<int32_t>(place % columns) * pitch,
          rows.firstRowY + static_cast<int32_t>(place / columns) * pitch};
}

GridLayout LayOutGrid(std::size_t count, int32_t clientRight, int dpi) {
  GridLayout layout{ShapeOfGrid(count, clientRight, dpi)};
  layout.centres.reserve(count);
  for (std::size_t i = 0; i < count; ++i) layout.centres.push_back(CentreOfPlace(layout.rows, i, dpi));
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
