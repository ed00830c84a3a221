#include "imaging/core/photo_orientation.h"

namespace fernwick {

namespace {

// Every one of the eight is a mirror left to right (or none) followed by clockwise quarter turns.
struct MirrorThenTurn {
  bool mirror;
  int32_t quarters;
};

constexpr MirrorThenTurn kForOrientation[9] = {
    {false, 0},                          // not an orientation
    {false, 0}, {true, 0},  {false, 2},  // 1 upright, 2 mirrored, 3 upside down
    {true, 2},  {true, 3},  {false, 1},  // 4 mirrored upside down, 5 transposed, 6 needs 90
    {true, 1},  {false, 3},              // 7 transversed, 8 needs 270
};

PixelTransform FromParts(bool mirror, int32_t quarters) noexcept {
  static constexpr PixelTransform kPlain[4] = {PixelTransform::kNone, PixelTransform::kRotate90,
                                               PixelTransform::kRotate180, PixelTransform::kRotate270};
  static constexpr PixelTransform kMirrored[4] = {PixelTransform::kFlipHorizontal, PixelTransform::kTransverse,
                                                  PixelTransform::kFlipVertical, PixelTransform::kTranspose};
  return mirror ? kMirrored[quarters] : kPlain[quarters];
}

}  // namespace

PixelTransform UprightTransform(uint16_t orientation, int32_t clockwiseDegrees) noexcept {
  const MirrorThenTurn stored = kForOrientation[orientation <= 8 ? orientation : 0];
  int32_t userQuarters = 0;
  if (clockwiseDegrees == 90 || clockwiseDegrees == 180 || clockwiseDegrees == 270)
    userQuarters = clockwiseDegrees / 90;
  return FromParts(stored.mirror, (stored.quarters + userQuarters) % 4);
}

bool SwapsSides(PixelTransform transform) noexcept {
  return transform == PixelTransform::kTranspose || transform == PixelTransform::kTransverse ||
         transform == PixelTransform::kRotate90 || transform == PixelTransform::kRotate270;
}

}  // namespace fernwick
