#pragma once
// Turning and mirroring JPEG bytes without decoding them (libjpeg-turbo's transupp, as jpegtran
// does): the DCT blocks are moved, so no quality is lost and the size stays about the same.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/core/photo_metadata.h"
#include "imaging/core/photo_orientation.h"

namespace fernwick {

// The JPEG transformed, with `segments` written after SOI in place of all of its own APP and COM
// segments. None when the bytes cannot be read, and when the transform would have to move
// partial blocks at the right or bottom edge (sides that are no multiple of the block size):
// they cannot be moved exactly, so the caller decodes, turns and encodes instead.
std::optional<std::vector<uint8_t>> TransformJpeg(std::span<const uint8_t> jpeg, PixelTransform transform,
                                                  std::span<const AppSegment> segments);

// A copy of the photo upright (its EXIF orientation undone) and then turned clockwise by the
// user's quarter turns (0, 90, 180 or 270), carrying its EXIF (orientation 1, the new pixel
// size, no thumbnail), XMP and ICC profile. None when TransformJpeg gives none.
std::optional<std::vector<uint8_t>> UprightJpegCopy(std::span<const uint8_t> jpeg, int32_t clockwiseDegrees);

}  // namespace fernwick
