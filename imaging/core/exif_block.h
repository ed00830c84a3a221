#pragma once
// The EXIF block of a photo: its orientation, and its rewriting for an upright working copy.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace fernwick {

// What an APP1 segment's payload starts with when it holds EXIF; a TIFF block follows.
inline constexpr uint8_t kExifSignature[] = {'E', 'x', 'i', 'f', 0, 0};

// The Orientation in an EXIF payload (signature included): 1 to 8, and 1 when it is missing or
// out of range, or when the block is not well-formed (see UprightExifPayload): the tag is only
// believed in a block that is copied.
uint16_t ExifOrientation(std::span<const uint8_t> payload);

// The Orientation of a TIFF file's first image, from the whole file's bytes: 1 to 8, and 1 when
// it is missing, out of range or its directory unreadable.
uint16_t TiffFileOrientation(std::span<const uint8_t> file);

// The EXIF payload (signature included) for a working copy of width x height that stands
// upright: Orientation 1, PixelXDimension and PixelYDimension set to the copy's size, and the
// embedded thumbnail (IFD1) dropped. None unless IFD0 and the EXIF, GPS and interoperability
// directories it points to are all readable, none reached twice.
std::optional<std::vector<uint8_t>> UprightExifPayload(std::span<const uint8_t> payload, uint32_t width,
                                                       uint32_t height);

}  // namespace fernwick
