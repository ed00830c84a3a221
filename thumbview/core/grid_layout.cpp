#include "thumbview/core/grid_layout.h"

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
  for (std::size_t i = 0; i < count; ++i) {
    x += pitch;
    if (x + half > clientRight) {
      x = firstX;
      y += pitch;
    }
    layout.centres.push_back({x, y});
  }
  layout.contentWidth = clientRight - ScaleForDpi(20, dpi);
  layout.contentHeight = y + ScaleForDpi(70, dpi);
  return layout;
}

int32_t GridColumns(int32_t clientRight, int dpi) noexcept {
  const int32_t room = clientRight - ScaleForDpi(kFirstCentreX, dpi) - ScaleForDpi(kHalfCell, dpi);
  return room < 0 ? 1 : room / ScaleForDpi(kCellPitch, dpi) + 1;
}

}  // namespace fernwick
