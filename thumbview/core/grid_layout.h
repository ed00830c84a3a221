#pragma once
// The thumbnail grid: cells 120 pixels apart, the first centred at (65, 70), wrapping when a
// cell would cross the right edge of the client area. The figures are those of a 96-DPI
// screen; at another DPI each is scaled to it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/core/dpi_scale.h"

namespace fernwick {

inline constexpr int32_t kCellPitch = 120;
inline constexpr int32_t kHalfCell = 60;
inline constexpr int32_t kFirstCentreX = 65;
inline constexpr int32_t kFirstCentreY = 70;

struct GridPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const GridPoint&) const = default;
};

// How the places of the grid go into rows: place i is in row i / columns, whose centre is
// firstRowY + that row times the pitch.
struct GridRows {
  int32_t columns = 1;
  int32_t firstRowY = 0;
  bool operator==(const GridRows&) const = default;
};

// A grid's rows and the size of its content.
struct GridShape {
  GridRows rows;
  int32_t contentWidth = 0;   // client right - 20
  int32_t contentHeight = 0;  // centre y of the last row + 70 (140 when empty)
};

// The shape with every photo's place.
struct GridLayout : GridShape {
  std::vector<GridPoint> centres;  // one per photo, in list order
};

// Places `count` photos for a client area whose right edge is `clientRight`. A client
// narrower than 125 pixels (at 96 DPI) wraps every photo, the first one included.
GridLayout LayOutGrid(std::size_t count, int32_t clientRight, int dpi = kBaseDpi);

// The same grid without its places, worked out at once for any count.
GridShape ShapeOfGrid(std::size_t count, int32_t clientRight, int dpi = kBaseDpi) noexcept;
// The centre of place `place` of a grid with those rows (within its count).
GridPoint CentreOfPlace(const GridRows& rows, std::size_t place, int dpi = kBaseDpi) noexcept;

// The places [first, last) of a grid of `count` places whose rows meet the band from `top` to
// `top + height` (content coordinates): a paint or a hit test finds its cells by arithmetic,
// at the same cost in a list of any length.
struct PlaceRange {
  std::size_t first = 0;
  std::size_t last = 0;
  bool operator==(const PlaceRange&) const = default;
};
PlaceRange PlacesMeeting(const GridRows& rows, std::size_t count, int32_t top, int32_t height,
                         int dpi = kBaseDpi) noexcept;

// How many photos a row of that grid holds (at least one).
int32_t GridColumns(int32_t clientRight, int dpi = kBaseDpi) noexcept;

// The square of the cell around a centre, which holds the thumbnail and its frame.
struct CellBounds {
  int32_t left, top, right, bottom;
};
inline CellBounds CellAround(int32_t centreX, int32_t centreY, int dpi = kBaseDpi) noexcept {
  const int32_t half = ScaleForDpi(kHalfCell, dpi);
  return {centreX - half, centreY - half, centreX + half, centreY + half};
}
// Whether the cell shows in the area of this size whose top left is (left, top).
inline bool CellMeets(const CellBounds& cell, int32_t left, int32_t top, int32_t width, int32_t height) noexcept {
  return cell.right > left && cell.left < left + width && cell.bottom > top && cell.top < top + height;
}

}  // namespace fernwick
