#pragma once
// Decoding WebP files with libwebp.
#include <cstdint>
#include <optional>
#include <span>

#include "imaging/decoded_picture.h"

namespace fernwick {

// Lossy, lossless and extended files: the picture drawn on a white canvas (alpha composited on
// white, as a JPEG has none; an animation's first frame where it stands on the canvas), with its
// EXIF and ICC chunks. None when libwebp cannot read the bytes or the canvas claims more than
// kMostPicturePixels.
std::optional<DecodedPicture> DecodeWebp(std::span<const uint8_t> file);

}  // namespace fernwick
