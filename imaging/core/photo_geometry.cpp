#include "imaging/core/photo_geometry.h"

#include <algorithm>
#include <cstdio>

#include "imaging/core/quarter_turn.h"

namespace fernwick {

double ThumbScaleFor(int32_t width, int32_t height, int32_t box) noexcept {
  const int32_t longer = std::max(width, height);
  // A picture that did not decode has 0 x 0; the quotient would be infinite.
  if (longer <= 0) return 1.0;
  return std::min(static_cast<double>(box) / static_cast<double>(longer), 1.0);
}

FrameRect CentredFrame(int32_t width, int32_t height, double scale) noexcept {
  const auto tw = static_cast<int32_t>(static_cast<double>(width) * scale);
  const auto th = static_cast<int32_t>(static_cast<double>(height) * scale);
  return FrameRect{-(tw / 2), -(th / 2), tw / 2, th / 2};
}

PhotoGeometry::PhotoGeometry(int32_t pictureWidth, int32_t pictureHeight, int32_t box) noexcept
    : thumbScale(ThumbScaleFor(pictureWidth, pictureHeight, box)),
      frameRect(CentredFrame(pictureWidth, pictureHeight, ThumbScaleFor(pictureWidth, pictureHeight, box))),
      width(pictureWidth),
      height(pictureHeight) {}

void PhotoGeometry::FitToBox(int32_t box) noexcept {
  thumbScale = ThumbScaleFor(width, height, box);
  const FrameRect centred = CentredFrame(width, height, thumbScale);
  frameRect = {centred.left + centreX, centred.top + centreY, centred.right + centreX, centred.bottom + centreY};
  if (TurnForAngle(angle).swapsSides) TransposeFrame();
}

void PhotoGeometry::MoveCentreTo(int32_t x, int32_t y) noexcept {
  const int32_t dx = x - centreX;
  const int32_t dy = y - centreY;
  frameRect.left += dx;
  frameRect.right += dx;
  frameRect.top += dy;
  frameRect.bottom += dy;
  centreX = x;
  centreY = y;
}

void PhotoGeometry::TurnQuarter(bool clockwise) noexcept {
  if (clockwise) {
    angle += 90;
    if (angle == 360) angle = 0;
  } else {
    angle -= 90;
    if (angle == -360) angle = 0;
  }
  TransposeFrame();
}

void PhotoGeometry::TransposeFrame() noexcept {
  const int32_t hh = (frameRect.bottom - frameRect.top) / 2;
  const int32_t hw = (frameRect.right - frameRect.left) / 2;
  frameRect = FrameRect{centreX - hh, centreY - hw, centreX + hh, centreY + hw};
}

int32_t PhotoGeometry::DisplayedWidth() const noexcept { return TurnForAngle(angle).swapsSides ? height : width; }
int32_t PhotoGeometry::DisplayedHeight() const noexcept { return TurnForAngle(angle).swapsSides ? width : height; }

std::string SizeTooltipText(const PhotoGeometry& geometry, int32_t fileSize) {
  char text[96];
  std::snprintf(text, sizeof(text), " %d x %d, %d KB ", static_cast<int>(geometry.DisplayedWidth()),
                static_cast<int>(geometry.DisplayedHeight()), static_cast<int>(fileSize / 1024 + 1));
  return text;
}

FittedPlacement FitIntoBox(int32_t width, int32_t height, int32_t x, int32_t y, int32_t box) noexcept {
  FittedPlacement placement;
  const int32_t longer = std::max(width, height);
  placement.scale = longer > 0 ? std::min(static_cast<double>(box) / static_cast<double>(longer), 1.0) : 1.0;
  const int32_t hw = static_cast<int32_t>(static_cast<double>(width) * placement.scale) / 2;
  const int32_t hh = static_cast<int32_t>(static_cast<double>(height) * placement.scale) / 2;
  placement.outline = FrameRect{x - hw - 5, y - hh - 5, x + hw + 5, y + hh + 5};
  return placement;
}

}  // namespace fernwick
