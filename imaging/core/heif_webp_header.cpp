#include "imaging/core/heif_webp_header.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "imaging/core/exif_block.h"

namespace fernwick {

namespace {

uint32_t BigEndian32(std::span<const uint8_t> b, size_t at) noexcept {
  return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

uint32_t LittleEndian24(std::span<const uint8_t> b, size_t at) noexcept {
  return uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 1]} << 8 | b[at];
}

uint32_t LittleEndian32(std::span<const uint8_t> b, size_t at) noexcept {
  return uint32_t{b[at + 3]} << 24 | LittleEndian24(b, at);
}

bool TypeIs(std::span<const uint8_t> b, size_t at, std::string_view type) noexcept {
  return at + 4 <= b.size() && std::memcmp(b.data() + at, type.data(), 4) == 0;
}

// One ISO media box: its type at `at + 4` and its contents in [body, end).
struct Box {
  size_t at = 0;
  size_t body = 0;
  size_t end = 0;
};

// The box starting at `at` within [at, limit), none when its size runs past the limit or is
// smaller than its own header. A size of 0 runs to the limit; 1 means a 64-bit size follows.
std::optional<Box> BoxAt(std::span<const uint8_t> b, size_t at, size_t limit) noexcept {
  if (at > limit || limit - at < 8) return std::nullopt;
  uint64_t size = BigEndian32(b, at);
  size_t header = 8;
  if (size == 1) {
    if (limit - at < 16) return std::nullopt;
    size = uint64_t{BigEndian32(b, at + 8)} << 32 | BigEndian32(b, at + 12);
    header = 16;
  } else if (size == 0) {
    size = limit - at;
  }
  if (size < header || size > limit - at) return std::nullopt;
  return Box{at, at + header, at + static_cast<size_t>(size)};
}

// The first child box of type `type` in [from, to).
std::optional<Box> FindChild(std::span<const uint8_t> b, size_t from, size_t to, std::string_view type) noexcept {
  for (size_t at = from; at < to;) {
    const std::optional<Box> box = BoxAt(b, at, to);
    if (!box) return std::nullopt;
    if (TypeIs(b, at + 4, type)) return box;
    at = box->end;
  }
  return std::nullopt;
}

bool IsHeifBrand(std::span<const uint8_t> b, size_t at) noexcept {
  static constexpr std::array<std::string_view, 8> kBrands{"heic", "heix", "heim", "heis",
                                                           "hevc", "hevx", "mif1", "msf1"};
  return std::any_of(kBrands.begin(), kBrands.end(), [&](std::string_view brand) { return TypeIs(b, at, brand); });
}

bool LooksLikeHeif(std::span<const uint8_t> b) noexcept {
  const std::optional<Box> ftyp = BoxAt(b, 0, b.size());
  if (!ftyp || !TypeIs(b, 4, "ftyp") || ftyp->end - ftyp->body < 8) return false;
  if (IsHeifBrand(b, ftyp->body)) return true;
  // The compatible brands follow the major brand and its minor version.
  for (size_t at = ftyp->body + 8; at + 4 <= ftyp->end; at += 4) {
    if (IsHeifBrand(b, at)) return true;
  }
  return false;
}

bool LooksLikeWebp(std::span<const uint8_t> b) noexcept {
  return b.size() >= 12 && TypeIs(b, 0, "RIFF") && TypeIs(b, 8, "WEBP");
}

// meta (a full box: version and flags first) > iprp > ipco > every ispe (a full box too, then
// 32-bit width and height).
std::optional<ClaimedSize> HeifSize(std::span<const uint8_t> b) noexcept {
  const std::optional<Box> meta = FindChild(b, 0, b.size(), "meta");
  if (!meta || meta->end - meta->body < 4) return std::nullopt;
  const std::optional<Box> iprp = FindChild(b, meta->body + 4, meta->end, "iprp");
  if (!iprp) return std::nullopt;
  const std::optional<Box> ipco = FindChild(b, iprp->body, iprp->end, "ipco");
  if (!ipco) return std::nullopt;
  std::optional<ClaimedSize> largest;
  for (size_t at = ipco->body; at < ipco->end;) {
    const std::optional<Box> box = BoxAt(b, at, ipco->end);
    if (!box) return std::nullopt;
    if (TypeIs(b, at + 4, "ispe")) {
      if (box->end - box->body < 12) return std::nullopt;
      const ClaimedSize size{BigEndian32(b, box->body + 4), BigEndian32(b, box->body + 8)};
      if (!largest || size.width * size.height > largest->width * largest->height) largest = size;
    }
    at = box->end;
  }
  return largest;
}

// The first chunk after the form type tells the kind: VP8X carries the canvas (24-bit sides
// minus one), VP8 a key frame's 14-bit sides after its start code, VP8L 14-bit sides minus one
// after its signature byte.
std::optional<ClaimedSize> WebpSize(std::span<const uint8_t> b) noexcept {
  if (b.size() < 20) return std::nullopt;
  const size_t data = 20;
  const uint32_t chunkSize = LittleEndian32(b, 16);
  if (TypeIs(b, 12, "VP8X")) {
    if (chunkSize < 10 || b.size() < data + 10) return std::nullopt;
    return ClaimedSize{uint64_t{LittleEndian24(b, data + 4)} + 1, uint64_t{LittleEndian24(b, data + 7)} + 1};
  }
  if (TypeIs(b, 12, "VP8 ")) {
    if (chunkSize < 10 || b.size() < data + 10) return std::nullopt;
    if (b[data + 3] != 0x9D || b[data + 4] != 0x01 || b[data + 5] != 0x2A) return std::nullopt;
    return ClaimedSize{uint64_t{b[data + 6]} | uint64_t{b[data + 7] & 0x3Fu} << 8,
                       uint64_t{b[data + 8]} | uint64_t{b[data + 9] & 0x3Fu} << 8};
  }
  if (TypeIs(b, 12, "VP8L")) {
    if (chunkSize < 5 || b.size() < data + 5 || b[data] != 0x2F) return std::nullopt;
    const uint32_t bits = LittleEndian32(b, data + 1);
    return ClaimedSize{uint64_t{bits & 0x3FFFu} + 1, uint64_t{(bits >> 14) & 0x3FFFu} + 1};
  }
  return std::nullopt;
}

// "Exif\0\0" and the bytes from `at` when a TIFF header (either byte order) starts there.
std::vector<uint8_t> ExifPayloadFrom(std::span<const uint8_t> b, uint64_t from) {
  if (from > b.size() || b.size() - from < 8) return {};
  const auto at = static_cast<size_t>(from);
  const bool intel = TypeIs(b, at, std::string_view("II*\0", 4));
  const bool motorola = TypeIs(b, at, std::string_view("MM\0*", 4));
  if (!intel && !motorola) return {};
  std::vector<uint8_t> payload(std::begin(kExifSignature), std::end(kExifSignature));
  payload.insert(payload.end(), b.begin() + static_cast<std::ptrdiff_t>(at), b.end());
  return payload;
}

}  // namespace

std::vector<uint8_t> ExifPayloadFromHeifItem(std::span<const uint8_t> item) {
  if (item.size() < 4) return {};
  return ExifPayloadFrom(item, uint64_t{4} + BigEndian32(item, 0));
}

std::vector<uint8_t> ExifPayloadFromWebpChunk(std::span<const uint8_t> chunk) {
  const bool signed_ =
      chunk.size() >= sizeof kExifSignature && std::memcmp(chunk.data(), kExifSignature, sizeof kExifSignature) == 0;
  return ExifPayloadFrom(chunk, signed_ ? sizeof kExifSignature : 0);
}

ContainerKind SniffContainer(std::span<const uint8_t> bytes) noexcept {
  if (LooksLikeWebp(bytes)) return ContainerKind::kWebp;
  if (LooksLikeHeif(bytes)) return ContainerKind::kHeif;
  return ContainerKind::kOther;
}

std::optional<ClaimedSize> ReadContainerClaimedSize(std::span<const uint8_t> bytes) noexcept {
  switch (SniffContainer(bytes)) {
    case ContainerKind::kHeif:
      return HeifSize(bytes);
    case ContainerKind::kWebp:
      return WebpSize(bytes);
    case ContainerKind::kOther:
      break;
  }
  return std::nullopt;
}

bool ContainerTooLargeToDecode(std::span<const uint8_t> bytes) noexcept {
  if (SniffContainer(bytes) == ContainerKind::kOther) return false;
  const std::optional<ClaimedSize> size = ReadContainerClaimedSize(bytes);
  // Each side is below 2^32, so the product cannot wrap.
  return !size || size->width == 0 || size->height == 0 || size->width * size->height > kMostPicturePixels;
}

}  // namespace fernwick
