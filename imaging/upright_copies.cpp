#include "imaging/upright_copies.h"

#include <utility>

#include "imaging/core/copy_rules.h"
#include "imaging/core/exif_block.h"
#include "imaging/core/resampler.h"
#include "imaging/jpeg_codec.h"
#include "imaging/jpeg_transform.h"
#include "imaging/picture_pixels.h"

namespace fernwick {

std::vector<AppSegment> CopyMetadata::For(uint32_t width, uint32_t height) const {
  if (!jpeg.empty()) return SegmentsForUprightCopy(jpeg, width, height);
  std::vector<AppSegment> all;
  // A block that is not well-formed is left out, as from a JPEG.
  if (std::optional<std::vector<uint8_t>> upright =
          exif.empty() ? std::nullopt : UprightExifPayload(exif, width, height)) {
    all.push_back(AppSegment{0xE1, std::move(*upright)});
  }
  all.insert(all.end(), segments.begin(), segments.end());
  return all;
}

bool LooksLikeJpeg(std::span<const uint8_t> bytes) noexcept {
  return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

bool LooksLikeTiff(std::span<const uint8_t> bytes) noexcept {
  return bytes.size() >= 4 && ((bytes[0] == 'I' && bytes[1] == 'I' && bytes[2] == 42 && bytes[3] == 0) ||
                               (bytes[0] == 'M' && bytes[1] == 'M' && bytes[2] == 0 && bytes[3] == 42));
}

namespace {

// The stored pixels' size once upright and scaled to the limit, as stored (before the turn).
PixelSize StoredTargetSize(uint32_t width, uint32_t height, bool swap, int32_t limit) {
  const PixelSize upright = ScaledSize(swap ? height : width, swap ? width : height, limit);
  return swap ? PixelSize{upright.height, upright.width} : upright;
}

// `stored` turned by `transform` after it is resampled to `scaledTo` (its size as stored), when
// given. Scaled before it is turned: turning the smaller picture is the cheaper order, and the
// result is the same. Taken by value: a copy that is neither scaled nor turned keeps the very
// pixels it was given.
std::optional<UprightCopy> CopyFromPixels(PixelBuffer stored, PixelTransform transform,
                                          std::optional<PixelSize> scaledTo, const CopyMetadata& metadata) {
  if (scaledTo) {
    stored = ResamplePixels(stored, scaledTo->width, scaledTo->height);
    if (stored.pixels.empty()) return std::nullopt;
  }
  UprightCopy copy;
  copy.pixels = transform != PixelTransform::kNone ? TransformPixels(stored, transform) : std::move(stored);
  std::optional<std::vector<uint8_t>> jpeg = EncodeJpeg(
      copy.pixels, metadata.For(copy.pixels.width, copy.pixels.height), kWorkingCopyQuality, kWorkingCopyColour);
  if (!jpeg) return std::nullopt;
  copy.jpeg = std::move(*jpeg);
  return copy;
}

}  // namespace

std::optional<UprightCopy> UprightCopyWithPixels(std::span<const uint8_t> jpeg, int32_t clockwiseDegrees,
                                                 std::optional<int32_t> limit) {
  const PixelTransform transform = UprightTransform(JpegOrientation(jpeg), clockwiseDegrees);
  std::optional<PixelBuffer> stored;
  if (!limit) {
    std::optional<std::vector<uint8_t>> moved = UprightJpegCopy(jpeg, clockwiseDegrees);
    if (moved) return UprightCopy{std::move(*moved), {}};
    stored = DecodeJpeg(jpeg, 3);
  } else {
    // The copy's size follows the full picture's; only the decoding is shrunk towards it, and
    // its rows are resampled as they come.
    const std::optional<JpegSize> size = ReadJpegSize(jpeg);
    if (!size) return std::nullopt;
    const PixelSize scaledTo = StoredTargetSize(size->width, size->height, SwapsSides(transform), *limit);
    stored = DecodeJpegResampled(jpeg, DecodeDenominatorFor(size->width, size->height, scaledTo), scaledTo.width,
                                 scaledTo.height);
  }
  if (!stored) return std::nullopt;
  return CopyFromPixels(std::move(*stored), transform, std::nullopt, CopyMetadata{jpeg, {}});
}

std::optional<std::vector<uint8_t>> UprightCopyOfJpeg(std::span<const uint8_t> jpeg, int32_t clockwiseDegrees,
                                                      std::optional<int32_t> limit) {
  std::optional<UprightCopy> copy = UprightCopyWithPixels(jpeg, clockwiseDegrees, limit);
  if (!copy) return std::nullopt;
  return std::move(copy->jpeg);
}

std::optional<UprightCopy> UprightCopyOfPicture(Gdiplus::GpBitmap* picture, uint16_t orientation,
                                                std::optional<int32_t> limit, std::span<const uint8_t> file) {
  std::optional<PixelBuffer> stored = PixelsOf(picture);
  if (!stored) return std::nullopt;
  CopyMetadata metadata;
  if (LooksLikeJpeg(file)) {
    metadata.jpeg = file;
  } else {
    metadata.segments = IccSegmentsOf(picture);
  }
  const PixelTransform transform = UprightTransform(orientation, 0);
  std::optional<PixelSize> scaledTo;
  if (limit) scaledTo.emplace(StoredTargetSize(stored->width, stored->height, SwapsSides(transform), *limit));
  return CopyFromPixels(std::move(*stored), transform, scaledTo, metadata);
}

std::optional<UprightCopy> UprightCopyOfDecoded(DecodedPicture picture, std::optional<int32_t> limit) {
  CopyMetadata metadata;
  metadata.exif = picture.exif;
  metadata.segments = IccProfileSegments(picture.icc);
  std::optional<PixelSize> scaledTo;
  if (limit) scaledTo.emplace(ScaledSize(picture.pixels.width, picture.pixels.height, *limit));
  return CopyFromPixels(std::move(picture.pixels), PixelTransform::kNone, scaledTo, metadata);
}

}  // namespace fernwick
