#include "imaging/core/jpeg_segments.h"

#include <algorithm>

namespace fernwick {

namespace {

constexpr uint8_t kSoi = 0xD8;
constexpr uint8_t kEoi = 0xD9;
constexpr uint8_t kSos = 0xDA;

// TEM and the restart markers stand alone: no length follows them.
bool StandsAlone(uint8_t marker) noexcept { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

}  // namespace

std::vector<JpegSegment> ReadJpegSegments(std::span<const uint8_t> jpeg) {
  std::vector<JpegSegment> segments;
  if (jpeg.size() < 2 || jpeg[0] != 0xFF || jpeg[1] != kSoi) return segments;
  size_t at = 2;
  while (at < jpeg.size()) {
    if (jpeg[at] != 0xFF) break;
    // Any number of 0xFF fill bytes may come before a marker.
    while (at < jpeg.size() && jpeg[at] == 0xFF) ++at;
    if (at >= jpeg.size()) break;
    const uint8_t marker = jpeg[at++];
    if (marker == kSos || marker == kEoi || marker == kSoi) break;
    if (StandsAlone(marker)) continue;
    if (jpeg.size() - at < 2) break;
    const size_t length = (size_t{jpeg[at]} << 8) | jpeg[at + 1];
    if (length < 2 || length > jpeg.size() - at) break;
    segments.push_back({marker, jpeg.subspan(at + 2, length - 2)});
    at += length;
  }
  return segments;
}

bool PayloadStartsWith(std::span<const uint8_t> payload, std::span<const uint8_t> signature) noexcept {
  return payload.size() >= signature.size() && std::equal(signature.begin(), signature.end(), payload.begin());
}

}  // namespace fernwick
