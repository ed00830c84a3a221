#pragma once
// Decoding HEIF (HEIC) files with libheif and libde265.
#include <cstdint>
#include <optional>
#include <span>

#include "imaging/decoded_picture.h"

namespace fernwick {

// The file's primary image only (a burst's or a live photo's other images are not looked at),
// with the container's rotation and mirroring (irot, imir) applied, a grid decoded whole and
// more than 8 bits a sample reduced to 8; its first EXIF block and its ICC profile. None when the
// bytes are no HEIF libheif can decode or an image claims more than kMostPicturePixels. With
// `limit`, a picture over it comes already shrunk to the limit's size (ScaledSize): the decoder's
// planes are shrunk as they are converted, so no full-size RGB picture is ever made.
std::optional<DecodedPicture> DecodeHeif(std::span<const uint8_t> file, std::optional<int32_t> limit = std::nullopt);

}  // namespace fernwick
