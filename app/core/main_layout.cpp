#include "app/core/main_layout.h"

namespace fernwick {

MainLayout ComputeMainLayout(int cx, int cy) noexcept {
  MainLayout layout;
  layout.upload = {cx - 97, cy - 51, 75, 24};
  layout.back = layout.upload;
  layout.ok = {cx - 190, cy - 51, 75, 24};
  layout.quotaLine = {10, cy - 17, 200, 12};
  layout.photoSiteLink = {12, cy - 52, 52, 17};
  layout.view = {0, kViewTop, cx, cy - kViewTop - kViewBottomMargin};
  // Stop in Upload's row just left of it; the text above the bar in the room that is left.
  layout.addingStop = {cx - 160, cy - 51, 55, 24};
  const int progressWidth = layout.addingStop.x - 8 - 72;
  layout.addingText = {72, cy - 53, progressWidth, 13};
  layout.addingBar = {72, cy - 37, progressWidth, 10};
  return layout;
}

std::array<LayoutPoint, 6> TabFramePoints(int right, int bottom) noexcept {
  return {{{-1, 38}, {195, 38}, {232, 74}, {right, 74}, {right, bottom - 71}, {-1, bottom - 71}}};
}

}  // namespace fernwick
