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

// The most scans a JPEG may have to be decoded at all. Each scan of a progressive JPEG is a pass
// over every block and a crafted file can repeat them without end; a camera's has about ten.
inline constexpr size_t kMostJpegScans = 500;

// The scans (SOS markers) of the whole file, counted up to one past `most`: the markers are
// walked by their lengths and each scan's coded data skipped to the marker after it.
size_t CountJpegScans(std::span<const uint8_t> jpeg, size_t most) noexcept;

// True when the payload starts with the given signature (which may hold NUL bytes).
bool PayloadStartsWith(std::span<const uint8_t> payload, std::span<const uint8_t> signature) noexcept;

}  // namespace fernwick
