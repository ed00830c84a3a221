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
// kMostPicturePixels. With `limit`, a still picture over it comes already shrunk to the limit's
// size (ScaledSize): libwebp averages the rows as it decodes them, so the full picture is never
// held, and no resampler has to shrink it afterwards.
std::optional<DecodedPicture> DecodeWebp(std::span<const uint8_t> file, std::optional<int32_t> limit = std::nullopt);

}  // namespace fernwick
