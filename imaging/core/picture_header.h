#pragma once
// The pixel size a PNG, GIF, BMP or TIFF file claims in its header, read before any decoder sees
// the file: a header can claim a picture far larger than memory, and GDI+ tries to hold it all.
#include <cstdint>
#include <optional>
#include <span>

namespace fernwick {

struct ClaimedSize {
  uint64_t width = 0;
  uint64_t height = 0;
};

// The most pixels a picture may have to be decoded at all (a 16384 x 16384 picture).
inline constexpr uint64_t kMostPicturePixels = uint64_t{16384} * 16384;

// The size the header claims, or none for bytes that are no PNG, GIF, BMP or TIFF or whose
// header is cut short. A BMP stored top row first (negative height) counts its height's size.
std::optional<ClaimedSize> ReadClaimedSize(std::span<const uint8_t> bytes) noexcept;

// True when the header claims more than kMostPicturePixels, or is a TIFF's whose first directory
// gives no size this reader can take; such a file is passed over.
bool PictureTooLargeToDecode(std::span<const uint8_t> bytes) noexcept;

}  // namespace fernwick
