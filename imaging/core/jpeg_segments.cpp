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

size_t CountJpegScans(std::span<const uint8_t> jpeg, size_t most) noexcept {
  size_t scans = 0;
  if (jpeg.size() < 2 || jpeg[0] != 0xFF || jpeg[1] != kSoi) return scans;
  size_t at = 2;
  while (at < jpeg.size() && scans <= most) {
    if (jpeg[at] != 0xFF) return scans;
    while (at < jpeg.size() && jpeg[at] == 0xFF) ++at;
    if (at >= jpeg.size()) break;
    const uint8_t marker = jpeg[at++];
    if (marker == kEoi) break;
    if (StandsAlone(marker)) continue;
    if (jpeg.size() - at < 2) break;
    const size_t length = (size_t{jpeg[at]} << 8) | jpeg[at + 1];
    if (length < 2 || length > jpeg.size() - at) break;
    at += length;
    if (marker != kSos) continue;
    ++scans;
    // Inside coded data 0xFF is followed by a stuffed 0, a restart marker or more 0xFF fill.
    while (at + 1 < jpeg.size() &&
           (jpeg[at] != 0xFF || jpeg[at + 1] == 0 || jpeg[at + 1] == 0xFF || StandsAlone(jpeg[at + 1]))) {
      ++at;
    }
    if (at + 1 >= jpeg.size()) break;
  }
  return scans;
}

bool PayloadStartsWith(std::span<const uint8_t> payload, std::span<const uint8_t> signature) noexcept {
  return payload.size() >= signature.size() && std::equal(signature.begin(), signature.end(), payload.begin());
}

}  // namespace fernwick
