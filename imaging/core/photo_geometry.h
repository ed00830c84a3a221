#pragma once
// Where a photo's thumbnail sits and how big it is, in the view's content coordinates.
// Portable: the picture itself lives with the Windows part of PhotoItem.
#include <cstdint>
#include <string>

namespace fernwick {

// left/top inclusive, right/bottom exclusive for hit tests.
struct FrameRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  bool Contains(int32_t x, int32_t y) const noexcept { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const FrameRect&) const = default;
};

// The side of the square a thumbnail fits into on a 96-DPI screen; the grid of a larger DPI
// asks for the box scaled to it.
inline constexpr int32_t kThumbnailBox = 100;

// box / the longer side, never more than 1.0 (so an undecodable 0 x 0 picture gets 1.0).
double ThumbScaleFor(int32_t width, int32_t height, int32_t box = kThumbnailBox) noexcept;

// The thumbnail's box centred on (0, 0): an odd side loses a pixel (75 gives -37 .. 37).
FrameRect CentredFrame(int32_t width, int32_t height, double scale) noexcept;

class PhotoGeometry {
 public:
  PhotoGeometry() = default;
  // Fixes thumbScale and the initial frame for a picture of the given size, fitted into a
  // square of `box` pixels.
  PhotoGeometry(int32_t pictureWidth, int32_t pictureHeight, int32_t box = kThumbnailBox) noexcept;

  // Fits the thumbnail into a square of `box` pixels instead, where it is and as it is turned.
  void FitToBox(int32_t box) noexcept;

  void MoveCentreTo(int32_t x, int32_t y) noexcept;
  // Changes angle by a quarter turn (a full turn is stored as 0) and transposes the frame.
  void TurnQuarter(bool clockwise) noexcept;
  void TransposeFrame() noexcept;

  // Size as the user sees it: swapped for a quarter or three-quarter turn.
  int32_t DisplayedWidth() const noexcept;
  int32_t DisplayedHeight() const noexcept;

  double angle = 0;  // degrees, positive clockwise; -270 .. 270 in steps of 90
  double thumbScale = 1.0;
  int32_t centreX = 0;
  int32_t centreY = 0;
  FrameRect frameRect;
  int32_t width = 0;
  int32_t height = 0;
};

// " %d x %d, %d KB " with the displayed size and fileSize / 1024 + 1.
std::string SizeTooltipText(const PhotoGeometry& geometry, int32_t fileSize);

// The box DrawFitted outlines around a picture fitted into `box` pixels centred on (x, y):
// 5 pixels out from the fitted, unturned picture.
struct FittedPlacement {
  double scale = 1.0;
  FrameRect outline;
};
FittedPlacement FitIntoBox(int32_t width, int32_t height, int32_t x, int32_t y, int32_t box) noexcept;

}  // namespace fernwick
