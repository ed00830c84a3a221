#pragma once
// Decoding and encoding JPEG bytes in memory with libjpeg-turbo (its SIMD code included).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/core/photo_metadata.h"
#include "imaging/core/pixel_buffer.h"

namespace fernwick {

struct JpegSize {
  uint32_t width = 0;
  uint32_t height = 0;
};

// The stored size (before any EXIF orientation), read from the header only.
std::optional<JpegSize> ReadJpegSize(std::span<const uint8_t> jpeg);

// The most pixels a JPEG may have to be decoded at all (a 16384 x 16384 picture): a header that
// claims more is damaged or made to exhaust memory, as no camera makes such photos.
inline constexpr uint64_t kMostJpegPixels = uint64_t{16384} * 16384;

// True when the bytes are a JPEG whose header claims more than kMostJpegPixels: such a file is
// passed over, not handed to another decoder that would try to hold it all.
bool JpegTooLargeToDecode(std::span<const uint8_t> jpeg);

// The decoded picture, top row first, 3 or 4 bytes per pixel, at 1/scaleDenominator of its size
// (1, 2, 4 or 8; the DCT scaling makes 2 to 8 much faster than decoding and shrinking; sides
// round up). Grey JPEGs come out as colour. None for CMYK JPEGs, for bytes that are no JPEG
// the library can read and for pictures of more than kMostJpegPixels.
std::optional<PixelBuffer> DecodeJpeg(std::span<const uint8_t> jpeg, uint32_t bytesPerPixel = 3,
                                      uint32_t scaleDenominator = 1);

// The picture decoded as DecodeJpeg does at 4 bytes a pixel, but straight into the rows of
// someone else's pixels (a section's): row y starts at rows + y * stride. False, with the rows
// partly written, when it does not decode or is not width x height.
bool DecodeJpegInto(std::span<const uint8_t> jpeg, uint8_t* rows, std::size_t stride, uint32_t width, uint32_t height);

// The picture decoded at 1/scaleDenominator as DecodeJpeg does (3 bytes a pixel) and resampled
// to width x height as ResamplePixels does, to the same bytes, row by row as they are decoded:
// the decoded picture is never held whole. None where DecodeJpeg gives none, or for a side of 0.
std::optional<PixelBuffer> DecodeJpegResampled(std::span<const uint8_t> jpeg, uint32_t scaleDenominator, uint32_t width,
                                               uint32_t height);

// How a JPEG stores colour.
enum class JpegColour {
  // Luminance at every pixel, the two colour differences at one per 2 x 2: the smallest file.
  kQuarter,
  // Luminance and colour differences at every pixel: about 8 % larger at quality 90, and about
  // 1.3 dB closer to the picture it was made from (PSNR), as halving the colour costs at that
  // quality more than all the rest of the encoding.
  kEveryPixel,
  // Red, green and blue as they are, each at every pixel, without the conversion to luminance
  // and colour differences (larger still, but hard colour edges stay sharp and pure colours come
  // back exactly).
  kRgb,
};

// The picture as a JPEG at this quality, the segments written right after SOI in their order
// (instead of a JFIF header when there is an EXIF one, which must come first). None on failure.
std::optional<std::vector<uint8_t>> EncodeJpeg(const PixelBuffer& picture, std::span<const AppSegment> segments,
                                               int quality = 90, JpegColour colour = JpegColour::kQuarter);

}  // namespace fernwick
