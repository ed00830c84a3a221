#pragma once
// Shrinking (or enlarging) a decoded picture with a separable Lanczos-3 filter whose width
// follows the scale, so that every source pixel counts for the area it covers: what working
// copies are scaled with after the JPEG library's own 1/2, 1/4 or 1/8 decoding.
#include <cstdint>

#include "imaging/core/pixel_buffer.h"

namespace fernwick {

// The picture at width x height, in the same pixel layout (3 or 4 bytes a pixel; the fourth byte
// is filtered like the others). An empty picture for a side of 0 or an empty source.
PixelBuffer ResamplePixels(const PixelBuffer& source, uint32_t width, uint32_t height);

}  // namespace fernwick
