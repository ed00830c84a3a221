#include "imaging/core/photo_metadata.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "imaging/core/exif_block.h"
#include "imaging/core/jpeg_segments.h"

namespace fernwick {

namespace {

constexpr uint8_t kApp1 = 0xE1;
constexpr uint8_t kApp2 = 0xE2;

template <size_t N>
std::span<const uint8_t> Signature(const char (&text)[N]) {
  // The terminating NUL is part of these signatures.
  return {reinterpret_cast<const uint8_t*>(text), N};
}

const std::span<const uint8_t> kXmp = Signature("http://ns.adobe.com/xap/1.0/");
const std::span<const uint8_t> kExtendedXmp = Signature("http://ns.adobe.com/xmp/extension/");
const std::span<const uint8_t> kIcc = Signature("ICC_PROFILE");

// The packet may repeat the orientation as an attribute (tiff:Orientation="6") or an element
// (<tiff:Orientation>6</tiff:Orientation>); viewers that read XMP would turn the upright copy
// again. One digit becomes another, so the packet keeps its length.
void SetXmpOrientationToOne(std::vector<uint8_t>& packet) {
  const std::string_view name = "tiff:Orientation";
  const std::string_view text(reinterpret_cast<const char*>(packet.data()), packet.size());
  for (size_t at = text.find(name); at != std::string_view::npos; at = text.find(name, at + 1)) {
    size_t digit = at + name.size();
    if (text.substr(digit, 2) == "=\"" || text.substr(digit, 2) == "='") {
      digit += 2;
    } else if (text.substr(digit, 1) == ">") {
      digit += 1;
    } else {
      continue;
    }
    if (digit + 1 < text.size() && text[digit] >= '1' && text[digit] <= '8' &&
        (text[digit + 1] == '"' || text[digit + 1] == '\'' || text[digit + 1] == '<')) {
      packet[digit] = '1';
    }
  }
}

}  // namespace

bool IsExifSegment(const AppSegment& segment) noexcept {
  return segment.marker == kApp1 && PayloadStartsWith(segment.payload, kExifSignature);
}

uint16_t JpegOrientation(std::span<const uint8_t> jpeg) {
  for (const JpegSegment& segment : ReadJpegSegments(jpeg)) {
    if (segment.marker == kApp1 && PayloadStartsWith(segment.payload, kExifSignature)) {
      return ExifOrientation(segment.payload);
    }
  }
  return 1;
}

std::vector<AppSegment> SegmentsForUprightCopy(std::span<const uint8_t> jpeg, uint32_t width, uint32_t height) {
  std::vector<AppSegment> kept;
  bool exifSeen = false;
  for (const JpegSegment& segment : ReadJpegSegments(jpeg)) {
    if (segment.marker == kApp1 && PayloadStartsWith(segment.payload, kExifSignature)) {
      if (exifSeen) continue;
      exifSeen = true;
      if (std::optional<std::vector<uint8_t>> exif = UprightExifPayload(segment.payload, width, height)) {
        kept.push_back({kApp1, std::move(*exif)});
      }
    } else if (segment.marker == kApp1 && PayloadStartsWith(segment.payload, kXmp)) {
      AppSegment xmp{kApp1, {segment.payload.begin(), segment.payload.end()}};
      SetXmpOrientationToOne(xmp.payload);
      kept.push_back(std::move(xmp));
    } else if ((segment.marker == kApp1 && PayloadStartsWith(segment.payload, kExtendedXmp)) ||
               (segment.marker == kApp2 && PayloadStartsWith(segment.payload, kIcc))) {
      kept.push_back({segment.marker, {segment.payload.begin(), segment.payload.end()}});
    }
  }
  return kept;
}

std::vector<AppSegment> IccProfileSegments(std::span<const uint8_t> profile) {
  // A segment's length field counts itself: 65535 - 2 bytes of payload, 14 of them the header.
  constexpr size_t kChunk = 65533 - 14;
  const size_t count = (profile.size() + kChunk - 1) / kChunk;
  std::vector<AppSegment> segments;
  if (count == 0 || count > 255) return segments;
  for (size_t i = 0; i < count; ++i) {
    const std::span<const uint8_t> part = profile.subspan(i * kChunk, std::min(kChunk, profile.size() - i * kChunk));
    AppSegment segment{kApp2, {kIcc.begin(), kIcc.end()}};
    segment.payload.push_back(static_cast<uint8_t>(i + 1));
    segment.payload.push_back(static_cast<uint8_t>(count));
    segment.payload.insert(segment.payload.end(), part.begin(), part.end());
    segments.push_back(std::move(segment));
  }
  return segments;
}

}  // namespace fernwick
