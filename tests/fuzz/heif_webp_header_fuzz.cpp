// libFuzzer target: what is read from a HEIF or WebP file's head before any decoder sees it (its
// kind, the size its header claims, the bound) and the EXIF payloads taken from its metadata.
// Nothing may fail or hang; a size is claimed only for a file of a known kind and is then within
// 32 bits a side; a file passed as decodable claims a size within the bound; a payload starts with
// the EXIF signature and a TIFF header and holds the bytes it was taken from.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "imaging/core/exif_block.h"
#include "imaging/core/heif_webp_header.h"

namespace {

void CheckPayload(const std::vector<uint8_t>& payload, size_t from) {
  if (payload.empty()) return;
  if (payload.size() < 14 || payload.size() > from + 6) __builtin_trap();
  if (std::memcmp(payload.data(), fernwick::kExifSignature, 6) != 0) __builtin_trap();
  if (!((payload[6] == 'I' && payload[7] == 'I') || (payload[6] == 'M' && payload[7] == 'M'))) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const fernwick::ContainerKind kind = fernwick::SniffContainer(bytes);
  const std::optional<fernwick::ClaimedSize> claimed = fernwick::ReadContainerClaimedSize(bytes);
  if (claimed && kind == fernwick::ContainerKind::kOther) __builtin_trap();
  if (claimed && (claimed->width > 0xFFFFFFFFu + uint64_t{1} || claimed->height > 0xFFFFFFFFu + uint64_t{1})) {
    __builtin_trap();
  }
  const bool tooLarge = fernwick::ContainerTooLargeToDecode(bytes);
  if (kind == fernwick::ContainerKind::kOther && tooLarge) __builtin_trap();
  if (kind != fernwick::ContainerKind::kOther && !tooLarge &&
      (!claimed || claimed->width * claimed->height > fernwick::kMostPicturePixels || claimed->width == 0)) {
    __builtin_trap();
  }
  CheckPayload(fernwick::ExifPayloadFromHeifItem(bytes), size);
  CheckPayload(fernwick::ExifPayloadFromWebpChunk(bytes), size);
  return 0;
}
