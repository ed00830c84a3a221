#include "imaging/core/tiff_ifd.h"

namespace fernwick {

namespace {

// Bytes of one value of each TIFF field type; 0 for types the format does not define, which
// make the directory unreadable since their values cannot be located.
uint32_t TypeSize(uint16_t type) noexcept {
  switch (type) {
    case 1:
    case 2:
    case 6:
    case 7:  // BYTE, ASCII, SBYTE, UNDEFINED
      return 1;
    case 3:
    case 8:  // SHORT, SSHORT
      return 2;
    case 4:
    case 9:
    case 11:
    case 13:  // LONG, SLONG, FLOAT, IFD
      return 4;
    case 5:
    case 10:
    case 12:  // RATIONAL, SRATIONAL, DOUBLE
      return 8;
    default:
      return 0;
  }
}

}  // namespace

const TiffEntry* TiffDirectory::Find(uint16_t tag) const noexcept {
  for (const TiffEntry& entry : entries) {
    if (entry.tag == tag) return &entry;
  }
  return nullptr;
}

TiffBlock::TiffBlock(std::span<const uint8_t> bytes) noexcept : bytes_(bytes) {
  if (bytes.size() < 8) return;
  if (bytes[0] == 'I' && bytes[1] == 'I') {
    littleEndian_ = true;
  } else if (bytes[0] != 'M' || bytes[1] != 'M') {
    return;
  }
  valid_ = U16(2) == 42;
}

uint16_t TiffBlock::U16(size_t at) const noexcept {
  const uint16_t a = bytes_[at], b = bytes_[at + 1];
  return littleEndian_ ? static_cast<uint16_t>(a | (b << 8)) : static_cast<uint16_t>((a << 8) | b);
}

uint32_t TiffBlock::U32(size_t at) const noexcept {
  const uint32_t a = U16(at), b = U16(at + 2);
  return littleEndian_ ? (a | (b << 16)) : ((a << 16) | b);
}

void TiffBlock::PutU16(std::span<uint8_t> copy, size_t at, uint16_t value) const noexcept {
  const auto high = static_cast<uint8_t>(value >> 8), low = static_cast<uint8_t>(value);
  copy[at] = littleEndian_ ? low : high;
  copy[at + 1] = littleEndian_ ? high : low;
}

void TiffBlock::PutU32(std::span<uint8_t> copy, size_t at, uint32_t value) const noexcept {
  const auto high = static_cast<uint16_t>(value >> 16), low = static_cast<uint16_t>(value);
  PutU16(copy, at, littleEndian_ ? low : high);
  PutU16(copy, at + 2, littleEndian_ ? high : low);
}

uint32_t TiffBlock::FirstDirectoryOffset() const noexcept { return valid_ ? U32(4) : 0; }

std::optional<TiffDirectory> TiffBlock::ReadDirectory(uint32_t offset) const {
  // Offsets below the header would read the header as a directory.
  if (!valid_ || offset < 8 || bytes_.size() < 2 || offset > bytes_.size() - 2) return std::nullopt;
  const size_t count = U16(offset);
  // The table's size bounds the count: a huge count cannot fit in a 64 KB segment.
  const uint64_t tableEnd = uint64_t{offset} + 2 + uint64_t{count} * 12 + 4;
  if (tableEnd > bytes_.size()) return std::nullopt;
  TiffDirectory directory;
  directory.entries.reserve(count);
  directory.nextOffsetAt = static_cast<size_t>(tableEnd - 4);
  directory.end = static_cast<size_t>(tableEnd);
  for (size_t i = 0; i < count; ++i) {
    TiffEntry entry;
    entry.entryAt = offset + 2 + i * 12;
    entry.tag = U16(entry.entryAt);
    entry.type = U16(entry.entryAt + 2);
    entry.count = U32(entry.entryAt + 4);
    const uint32_t size = TypeSize(entry.type);
    if (size == 0) return std::nullopt;
    const uint64_t valueSize = uint64_t{size} * entry.count;
    if (valueSize <= 4) {
      entry.valueAt = entry.entryAt + 8;
    } else {
      const uint64_t valueAt = U32(entry.entryAt + 8);
      if (valueAt + valueSize > bytes_.size()) return std::nullopt;
      entry.valueAt = static_cast<size_t>(valueAt);
      if (valueAt + valueSize > directory.end) directory.end = static_cast<size_t>(valueAt + valueSize);
    }
    directory.entries.push_back(entry);
  }
  return directory;
}

std::optional<uint32_t> TiffBlock::UnsignedValue(const TiffEntry& entry) const noexcept {
  if (entry.count == 0) return std::nullopt;
  if (entry.type == kTiffShort) return U16(entry.valueAt);
  if (entry.type == kTiffLong) return U32(entry.valueAt);
  return std::nullopt;
}

}  // namespace fernwick
