#pragma once
// What a photo's JPEG bytes say about how it was taken, and the marker segments its working
// copies carry over: the EXIF block made upright, the XMP packets and the ICC colour profile.
#include <cstdint>
#include <span>
#include <vector>

namespace fernwick {

struct AppSegment {
  uint8_t marker = 0;  // 0xE1 (APP1: EXIF, XMP) or 0xE2 (APP2: ICC profile chunks)
  std::vector<uint8_t> payload;
  bool operator==(const AppSegment&) const = default;
};

// An APP1 segment holding EXIF. A JPEG writer leaves its JFIF header out before one: EXIF must
// come right after SOI.
bool IsExifSegment(const AppSegment& segment) noexcept;

// The EXIF orientation of a JPEG: 1 to 8, and 1 when there is none or it cannot be read.
uint16_t JpegOrientation(std::span<const uint8_t> jpeg);

// The segments, in file order, that a working copy of width x height pixels made upright from
// this JPEG is written with: the first EXIF block rewritten (left out when it is not well-formed),
// every XMP packet with its tiff:Orientation set to 1, and every ICC profile chunk as it is.
std::vector<AppSegment> SegmentsForUprightCopy(std::span<const uint8_t> jpeg, uint32_t width, uint32_t height);

// An ICC colour profile as a JPEG carries it: APP2 chunks of "ICC_PROFILE\0", the chunk's number
// from 1, the number of chunks, and at most 65519 bytes of the profile each. None for an empty
// profile and for one that would need more than 255 chunks.
std::vector<AppSegment> IccProfileSegments(std::span<const uint8_t> profile);

}  // namespace fernwick
