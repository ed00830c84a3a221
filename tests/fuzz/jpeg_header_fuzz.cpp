// libFuzzer target: what the JPEG path reads from a file's head before it decodes anything (the
// segments up to the first scan, the orientation, the segments a copy carries over) and the
// sizes it derives from a stored size and a limit (the copy's size and the decoding scale).
// Nothing may fail or hang; every segment lies inside the bytes; a copy's segments fit a JPEG
// marker; the decoding scale never leaves less than the copy needs.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/core/copy_rules.h"
#include "imaging/core/jpeg_segments.h"
#include "imaging/core/photo_metadata.h"
#include "imaging/core/photo_orientation.h"

namespace {

uint32_t Word(std::span<const uint8_t> bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = at; i < at + 4 && i < bytes.size(); ++i) value = value << 8 | bytes[i];
  return value;
}

void CheckSizes(std::span<const uint8_t> bytes) {
  // A JPEG's sides are 16-bit; a limit is whatever the settings hold.
  const uint32_t width = Word(bytes, 0) & 0xFFFF;
  const uint32_t height = Word(bytes, 2) & 0xFFFF;
  const auto limit = static_cast<int32_t>(Word(bytes, 4));
  if (width == 0 || height == 0 || limit <= 0) return;
  const bool swap = fernwick::SwapsSides(fernwick::UprightTransform(static_cast<uint16_t>(bytes.size() % 9), 0));
  if (!fernwick::ExceedsLimit(swap ? height : width, swap ? width : height, limit)) return;
  const fernwick::PixelSize upright = fernwick::ScaledSize(swap ? height : width, swap ? width : height, limit);
  const fernwick::PixelSize wanted = swap ? fernwick::PixelSize{upright.height, upright.width} : upright;
  if (wanted.width == 0 || wanted.height == 0) __builtin_trap();
  // Scaling only ever shrinks here: the copy is no larger than the stored picture.
  if (wanted.width > width || wanted.height > height) __builtin_trap();
  const uint32_t denominator = fernwick::DecodeDenominatorFor(width, height, wanted);
  if (denominator != 1 && denominator != 2 && denominator != 4 && denominator != 8) __builtin_trap();
  if ((width + denominator - 1) / denominator < wanted.width || (height + denominator - 1) / denominator < wanted.height) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  for (const fernwick::JpegSegment& segment : fernwick::ReadJpegSegments(bytes)) {
    if (segment.payload.data() < data || segment.payload.data() + segment.payload.size() > data + size) {
      __builtin_trap();
    }
  }
  const uint16_t orientation = fernwick::JpegOrientation(bytes);
  if (orientation < 1 || orientation > 8) __builtin_trap();
  for (const fernwick::AppSegment& kept : fernwick::SegmentsForUprightCopy(bytes, 4000, 3000)) {
    if (kept.payload.size() > 65533 || (kept.marker != 0xE1 && kept.marker != 0xE2)) __builtin_trap();
  }
  CheckSizes(bytes);
  return 0;
}
