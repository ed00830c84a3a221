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

// The first directory's ImageWidth and ImageLength; a decoder starts with that page.
std::optional<ClaimedSize> TiffSize(std::span<const uint8_t> bytes) {
  const TiffBlock block(bytes);
  if (!block.valid()) return std::nullopt;
  const std::optional<TiffDirectory> first = block.ReadDirectory(block.FirstDirectoryOffset());
  if (!first) return std::nullopt;
  constexpr uint16_t kImageWidth = 256, kImageLength = 257;
  const TiffEntry* width = first->Find(kImageWidth);
  const TiffEntry* height = first->Find(kImageLength);
  if (!width || !height) return std::nullopt;
  const std::optional<uint32_t> w = block.UnsignedValue(*width), h = block.UnsignedValue(*height);
  if (!w || !h) return std::nullopt;
  return ClaimedSize{*w, *h};
}

}  // namespace

std::optional<ClaimedSize> ReadClaimedSize(std::span<const uint8_t> bytes) noexcept {
  try {
    if (StartsWith(bytes, "\x89PNG\r\n\x1A\n", 8)) return PngSize(bytes);
    if (StartsWith(bytes, "GIF87a", 6) || StartsWith(bytes, "GIF89a", 6)) return GifSize(bytes);
    if (StartsWith(bytes, "BM", 2)) return BmpSize(bytes);
    return TiffSize(bytes);
  } catch (...) {
    return std::nullopt;  // a directory too large to list: no size to go by
  }
}

bool PictureTooLargeToDecode(std::span<const uint8_t> bytes) noexcept {
  const std::optional<ClaimedSize> size = ReadClaimedSize(bytes);
  // Each side is below 2^32, so the product cannot wrap.
  return size && size->width * size->height > kMostPicturePixels;
}

}  // namespace fernwick
