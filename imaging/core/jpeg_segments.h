#pragma once
// The marker segments at the head of a JPEG file, up to its first scan: where the EXIF, XMP and
// colour profile of a photo live. Reads bytes only; nothing is copied.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace fernwick {

struct JpegSegment {
  uint8_t marker = 0;                // the byte after 0xFF, e.g. 0xE1 for APP1
  std::span<const uint8_t> payload;  // what follows the two length bytes
};

// The segments from SOI to the first SOS, in file order. Walking stops, keeping what came before,
// at the first segment that does not fit in the bytes; no SOI means no segments.
std::vector<JpegSegment> ReadJpegSegments(std::span<const uint8_t> jpeg);

// True when the payload starts with the given signature (which may hold NUL bytes).
bool PayloadStartsWith(std::span<const uint8_t> payload, std::span<const uint8_t> signature) noexcept;

}  // namespace fernwick
