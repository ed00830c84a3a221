#include "imaging/core/picture_header.h"

#include <array>
#include <cstring>

#include "imaging/core/tiff_ifd.h"

namespace fernwick {

namespace {

uint32_t BigEndian32(std::span<const uint8_t> b, size_t at) noexcept {
  return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

uint32_t LittleEndian32(std::span<const uint8_t> b, size_t at) noexcept {
  return uint32_t{b[at + 3]} << 24 | uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 1]} << 8 | b[at];
}

uint16_t LittleEndian16(std::span<const uint8_t> b, size_t at) noexcept {
  return static_cast<uint16_t>(b[at + 1] << 8 | b[at]);
}

bool StartsWith(std::span<const uint8_t> bytes, const char* signature, size_t length) noexcept {
  return bytes.size() >= length && std::memcmp(bytes.data(), signature, length) == 0;
}

// The IHDR chunk always comes first, right after the 8-byte signature and its own length and type.
std::optional<ClaimedSize> PngSize(std::span<const uint8_t> bytes) noexcept {
  if (bytes.size() < 24 || std::memcmp(bytes.data() + 12, "IHDR", 4) != 0) return std::nullopt;
  return ClaimedSize{BigEndian32(bytes, 16), BigEndian32(bytes, 20)};
}

// The logical screen: every frame is drawn into it, so it is what a decoder allocates.
std::optional<ClaimedSize> GifSize(std::span<const uint8_t> bytes) noexcept {
  if (bytes.size() < 10) return std::nullopt;
  return ClaimedSize{LittleEndian16(bytes, 6), LittleEndian16(bytes, 8)};
}

// The 12-byte OS/2 core header holds 16-bit sides; every later header holds signed 32-bit ones.
std::optional<ClaimedSize> BmpSize(std::span<const uint8_t> bytes) noexcept {
  if (bytes.size() < 18) return std::nullopt;
  const uint32_t headerSize = LittleEndian32(bytes, 14);
  if (headerSize == 12) {
    if (bytes.size() < 22) return std::nullopt;
    return ClaimedSize{LittleEndian16(bytes, 18), LittleEndian16(bytes, 20)};
  }
  if (bytes.size() < 26) return std::nullopt;
  const auto width = static_cast<int32_t>(LittleEndian32(bytes, 18));
  const auto height = static_cast<int32_t>(LittleEndian32(bytes, 22));
  const auto side = [](int32_t v) { return static_cast<uint64_t>(v < 0 ? -int64_t{v} : int64_t{v}); };
  return ClaimedSize{side(width), side(height)};
}

// The first directory's ImageWidth and ImageLength; a decoder starts with that page. Only the
// entry table is read: an entry of a type this reader does not know (whose value it cannot
// locate) is one a decoder may well skip, so it must not hide the size.
std::optional<ClaimedSize> TiffSize(const TiffBlock& block, size_t size) noexcept {
  const uint32_t offset = block.FirstDirectoryOffset();
  if (offset < 8 || size < 2 || offset > size - 2) return std::nullopt;
  const size_t count = block.U16(offset);
  if (uint64_t{offset} + 2 + uint64_t{count} * 12 > size) return std::nullopt;
  constexpr uint16_t kImageWidth = 256, kImageLength = 257;
  std::optional<uint32_t> width, height;
  for (size_t i = 0; i < count; ++i) {
    const size_t at = offset + 2 + i * 12;
    const uint16_t tag = block.U16(at);
    if (tag != kImageWidth && tag != kImageLength) continue;
    const TiffEntry entry{
        .tag = tag, .type = block.U16(at + 2), .count = block.U32(at + 4), .entryAt = at, .valueAt = at + 8};
    // A value of more than one is stored elsewhere; no decoder takes such a size as it is.
    (tag == kImageWidth ? width : height) = entry.count == 1 ? block.UnsignedValue(entry) : std::nullopt;
  }
  if (!width || !height) return std::nullopt;
  return ClaimedSize{*width, *height};
}

}  // namespace

std::optional<ClaimedSize> ReadClaimedSize(std::span<const uint8_t> bytes) noexcept {
  if (StartsWith(bytes, "\x89PNG\r\n\x1A\n", 8)) return PngSize(bytes);
  if (StartsWith(bytes, "GIF87a", 6) || StartsWith(bytes, "GIF89a", 6)) return GifSize(bytes);
  if (StartsWith(bytes, "BM", 2)) return BmpSize(bytes);
  return TiffSize(TiffBlock(bytes), bytes.size());
}

bool PictureTooLargeToDecode(std::span<const uint8_t> bytes) noexcept {
  const std::optional<ClaimedSize> size = ReadClaimedSize(bytes);
  // A TIFF is a table of tags a decoder may read differently: one whose size cannot be read
  // here could claim any.
  if (!size) return TiffBlock(bytes).valid();
  // Each side is below 2^32, so the product cannot wrap.
  return size->width * size->height > kMostPicturePixels;
}

}  // namespace fernwick
