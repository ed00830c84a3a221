#pragma once
// The bytes of JPEG working copies that stand upright: the stored pixels turned by their EXIF or
// TIFF orientation (and the user's turn), scaled when asked, and carrying the original's
// metadata. Memory only; the caller writes the file. Touches no window, so a worker thread may
// make them.
#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/core/photo_metadata.h"
#include "imaging/core/photo_orientation.h"
#include "imaging/core/pixel_buffer.h"
#include "imaging/decoded_picture.h"
#include "imaging/jpeg_codec.h"

namespace fernwick {

// Working copies are encoded at this quality; libjpeg-turbo honours it (GDI+ under Wine does not).
inline constexpr int kWorkingCopyQuality = 90;
// With the colour at every pixel: a photo shrunk for upload keeps its fine coloured detail
// (foliage, fabric, text on a sign), which halving the colour blurs more than the shrinking does.
inline constexpr JpegColour kWorkingCopyColour = JpegColour::kEveryPixel;

// The segments a copy of a given size is written with: those of the original JPEG made upright
// (EXIF with orientation 1 and the copy's size, XMP, ICC) when there is one, else a fixed list
// (the ICC profile GDI+ or another decoder gave) after the EXIF payload of such a decoder, made
// upright in the same way.
struct CopyMetadata {
  std::span<const uint8_t> jpeg;
  std::vector<AppSegment> segments;
  std::span<const uint8_t> exif;
  std::vector<AppSegment> For(uint32_t width, uint32_t height) const;
};

// True when the bytes start as a JPEG file does (SOI and a marker), whatever the file's name.
bool LooksLikeJpeg(std::span<const uint8_t> bytes) noexcept;
// True for a TIFF file's header, either byte order.
bool LooksLikeTiff(std::span<const uint8_t> bytes) noexcept;

// A working copy's bytes and, when they were made from decoded pixels, those pixels as the copy
// shows them (upright, at its size): what its thumbnail can be made from without decoding again.
struct UprightCopy {
  std::vector<uint8_t> jpeg;
  PixelBuffer pixels;  // empty when the JPEG's blocks were moved without decoding
};

// A JPEG made upright and turned clockwise by `clockwiseDegrees` (0, 90, 180, 270). Without a
// limit the DCT blocks are moved without decoding where the picture's edges allow it, and the
// picture is decoded, turned and encoded where they do not. None when libjpeg-turbo cannot
// decode the bytes (the caller falls back to GDI+).
// With a limit the JPEG is decoded at the smallest 1/2, 1/4 or 1/8 of its size that still covers
// the copy's size, and resampled from there.
std::optional<std::vector<uint8_t>> UprightCopyOfJpeg(std::span<const uint8_t> jpeg, int32_t clockwiseDegrees,
                                                      std::optional<int32_t> limit);
// The same, keeping the pixels the copy was encoded from.
std::optional<UprightCopy> UprightCopyWithPixels(std::span<const uint8_t> jpeg, int32_t clockwiseDegrees,
                                                 std::optional<int32_t> limit);

// A picture GDI+ decoded, stored with `orientation`, as an upright JPEG copy (scaled to `limit`
// when given), with the pixels it was encoded from. `file` is the file's bytes: a JPEG's
// metadata is carried over from them; for any other kind of picture the ICC profile GDI+ gives is.
std::optional<UprightCopy> UprightCopyOfPicture(Gdiplus::GpBitmap* picture, uint16_t orientation,
                                                std::optional<int32_t> limit, std::span<const uint8_t> file);

// A picture HEIF or WebP decoding gave, already upright, as a JPEG copy scaled to `limit` when
// given, carrying its EXIF block (made upright as a JPEG's is) and its ICC profile.
std::optional<UprightCopy> UprightCopyOfDecoded(DecodedPicture picture, std::optional<int32_t> limit);

}  // namespace fernwick
