#pragma once
// What a HEIF (HEIC) or WebP file is and the pixel size its header claims, from the file's own
// bytes whatever its name: phones save HEIC as .jpg and web pages WebP as anything. Read before
// any decoder sees the file, as for the other kinds (picture_header.h): a header can claim a
// picture far larger than memory.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/core/picture_header.h"

namespace fernwick {

enum class ContainerKind { kOther, kHeif, kWebp };

// kHeif for an ISO media file whose ftyp box names a HEIF brand (heic, heix, mif1...), kWebp for
// a RIFF file of form WEBP; kOther for anything else, a cut header included.
ContainerKind SniffContainer(std::span<const uint8_t> bytes) noexcept;

// HEIF: the largest image spatial extent (ispe) among the meta box's item properties: the
// primary image's (the whole grid for a tiled one) and any other the file holds, so no image a
// decoder might allocate for claims more. WebP: the canvas of a VP8X header, else the frame of a
// VP8 or VP8L one. None for other bytes or when the header is cut or malformed.
std::optional<ClaimedSize> ReadContainerClaimedSize(std::span<const uint8_t> bytes) noexcept;

// True for a HEIF or WebP file whose header claims more than kMostPicturePixels, or whose size
// cannot be read from its header at all (such a file is no picture a decoder should be handed).
bool ContainerTooLargeToDecode(std::span<const uint8_t> bytes) noexcept;

// The EXIF payload a JPEG copy carries ("Exif\0\0" and the TIFF block) from a HEIF Exif item (a
// 32-bit offset to the TIFF header, then the bytes it skips) or a WebP EXIF chunk (the TIFF block,
// though some writers put the JPEG signature first). Empty when no TIFF header is where it should be.
std::vector<uint8_t> ExifPayloadFromHeifItem(std::span<const uint8_t> item);
std::vector<uint8_t> ExifPayloadFromWebpChunk(std::span<const uint8_t> chunk);

}  // namespace fernwick
