#pragma once
// A picture a library other than libjpeg-turbo or GDI+ decoded (HEIF, WebP): its pixels as they
// stand upright, and the metadata its JPEG working copy carries.
#include <cstdint>
#include <vector>

#include "imaging/core/pixel_buffer.h"

namespace fernwick {

struct DecodedPicture {
  PixelBuffer pixels;         // upright, 3 bytes a pixel (blue, green, red)
  std::vector<uint8_t> exif;  // "Exif\0\0" and the TIFF block; empty when the file has none
  std::vector<uint8_t> icc;   // the ICC colour profile; empty when the file has none
};

}  // namespace fernwick
