#include "imaging/upright_copies.h"

#include <utility>

#include "imaging/core/copy_rules.h"
#include "imaging/jpeg_codec.h"
#include "imaging/jpeg_transform.h"
#include "imaging/picture_pixels.h"

namespace fernwick {

std::vector<AppSegment> CopyMetadata::For(uint32_t width, uint32_t height) const {
  return jpeg.empty() ? segments : SegmentsForUprightCopy(jpeg, width, height);
}

bool LooksLikeJpeg(std::span<const uint8_t> bytes) noexcept {
  return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

bool LooksLikeTiff(std::span<const uint8_t> bytes) noexcept {
  return bytes.size() >= 4 && ((bytes[0] == 'I' && bytes[1] == 'I' && bytes[2] == 42 && bytes[3] == 0) ||
                               (bytes[0] == 'M' && bytes[1] == 'M' && bytes[2] == 0 && bytes[3] == 42));
}

std::optional<std::vector<uint8_t>> UprightCopyOfPixels(const PixelBuffer& stored, PixelTransform transform,
                                                        std::optional<int32_t> limit, const CopyMetadata& metadata) {
  const bool swap = SwapsSides(transform);
  std::optional<PixelBuffer> scaled;
  if (limit) {
    // Scaled before it is turned: turning the smaller picture is the cheaper order, and the
    // result is the same.
    const PixelSize upright = ScaledSize(swap ? stored.height : stored.width, swap ? stored.width : stored.height,
                                         *limit);
    scaled = ScalePixels(stored, swap ? PixelSize{upright.height, upright.width} : upright);
    if (!scaled) return std::nullopt;
  }
  const PixelBuffer& source = scaled ? *scaled : stored;
  const std::optional<PixelBuffer> turned =
      transform == PixelTransform::kNone ? std::nullopt : std::optional(TransformPixels(source, transform));
  const PixelBuffer& upright = turned ? *turned : source;
  const std::vector<AppSegment> segments = metadata.For(upright.width, upright.height);
  return EncodeJpeg(upright, segments, kWorkingCopyQuality);
}

std::optional<std::vector<uint8_t>> UprightCopyOfJpeg(std::span<const uint8_t> jpeg, int32_t clockwiseDegrees,
                                                      std::optional<int32_t> limit) {
  if (!limit) {
    std::optional<std::vector<uint8_t>> moved = UprightJpegCopy(jpeg, clockwiseDegrees);
    if (moved) return moved;
  }
  const std::optional<PixelBuffer> stored = DecodeJpeg(jpeg);
  if (!stored) return std::nullopt;
  return UprightCopyOfPixels(*stored, UprightTransform(JpegOrientation(jpeg), clockwiseDegrees), limit,
                             CopyMetadata{jpeg, {}});
}

std::optional<std::vector<uint8_t>> UprightCopyOfPicture(Gdiplus::GpBitmap* picture, uint16_t orientation,
                                                         std::optional<int32_t> limit, std::span<const uint8_t> file) {
  const std::optional<PixelBuffer> stored = PixelsOf(picture);
  if (!stored) return std::nullopt;
  CopyMetadata metadata;
  if (LooksLikeJpeg(file)) {
    metadata.jpeg = file;
  } else {
    metadata.segments = IccSegmentsOf(picture);
  }
  return UprightCopyOfPixels(*stored, UprightTransform(orientation, 0), limit, metadata);
}

}  // namespace fernwick
