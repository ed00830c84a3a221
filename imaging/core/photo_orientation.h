#pragma once
// The eight ways a photo's stored pixels can lie (the EXIF orientations), as the one lossless
// transform that brings them upright after the user's quarter turns.
#include <cstdint>

namespace fernwick {

// Named as libjpeg-turbo's transforms (transupp.h JXFORM_*) and jpegtran's options.
enum class PixelTransform : uint8_t {
  kNone,
  kFlipHorizontal,
  kFlipVertical,
  kTranspose,   // mirror along the top-left to bottom-right diagonal
  kTransverse,  // mirror along the top-right to bottom-left diagonal
  kRotate90,    // clockwise
  kRotate180,
  kRotate270,
};

// The transform that turns pixels stored with this EXIF orientation (1 to 8; anything else is 1)
// upright and then by the user's clockwise quarter turns (0, 90, 180 or 270 degrees; others
// count as 0).
PixelTransform UprightTransform(uint16_t orientation, int32_t clockwiseDegrees) noexcept;

// Width and height trade places.
bool SwapsSides(PixelTransform transform) noexcept;

}  // namespace fernwick
