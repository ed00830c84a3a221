// libFuzzer target: whatever bytes a JPEG's head, an EXIF block or a TIFF file hold, reading
// them must not fail or hang, and an EXIF block that is copied must read back well-formed,
// upright and with the size it was given.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/core/exif_block.h"
#include "imaging/core/photo_metadata.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const uint16_t orientation = fernwick::JpegOrientation(bytes);
  if (orientation < 1 || orientation > 8) __builtin_trap();
  for (const fernwick::AppSegment& kept : fernwick::SegmentsForUprightCopy(bytes, 640, 480)) {
    if (fernwick::IsExifSegment(kept) &&
        (fernwick::ExifOrientation(kept.payload) != 1 || !fernwick::UprightExifPayload(kept.payload, 640, 480))) {
      __builtin_trap();
    }
  }

  // The same bytes as an EXIF payload and as a TIFF file.
  std::vector<uint8_t> payload(fernwick::kExifSignature, fernwick::kExifSignature + sizeof fernwick::kExifSignature);
  payload.insert(payload.end(), bytes.begin(), bytes.end());
  if (const auto copy = fernwick::UprightExifPayload(payload, 3000, 4000)) {
    const auto again = fernwick::UprightExifPayload(*copy, 3000, 4000);
    // Rewriting an upright copy changes nothing: it is already what a copy should be.
    if (fernwick::ExifOrientation(*copy) != 1 || !again || *again != *copy) __builtin_trap();
  }
  const uint16_t fileOrientation = fernwick::TiffFileOrientation(bytes);
  if (fileOrientation < 1 || fileOrientation > 8) __builtin_trap();
  return 0;
}
