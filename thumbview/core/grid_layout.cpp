#include "thumbview/core/grid_layout.h"

namespace fernwick {

GridLayout LayOutGrid(std::size_t count, int32_t clientRight) {
  GridLayout layout;
  layout.centres.reserve(count);
  int32_t x = kFirstCentreX - kCellPitch;
  int32_t y = kFirstCentreY;
  for (std::size_t i = 0; i < count; ++i) {
    x += kCellPitch;
    if (x + kHalfCell > clientRight) {
      x = kFirstCentreX;
      y += kCellPitch;
    }
    layout.centres.push_back({x, y});
  }
  layout.contentWidth = clientRight - 20;
  layout.contentHeight = y + 70;
  return layout;
}

}  // namespace fernwick
