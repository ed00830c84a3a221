#pragma once
// Reading the image file directories of a TIFF block: the EXIF segment's body and a TIFF file's
// head. Every offset comes from the file, so every read is checked against the block's end; a
// directory whose entry table or any out-of-line value lies outside the block is not read at all.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace fernwick {

struct TiffEntry {
  uint16_t tag = 0;
  uint16_t type = 0;
  uint32_t count = 0;
  size_t entryAt = 0;  // offset of the 12-byte entry in the block
  size_t valueAt = 0;  // offset of the value: inside the entry when it fits in 4 bytes
};

struct TiffDirectory {
  std::vector<TiffEntry> entries;
  size_t nextOffsetAt = 0;  // where the offset of the next directory is stored
  size_t end = 0;           // one past the last byte of the table and of every value
  const TiffEntry* Find(uint16_t tag) const noexcept;
};

class TiffBlock {
 public:
  // A block with no valid header ("II*\0" or "MM\0*") reads as empty: valid() is false.
  explicit TiffBlock(std::span<const uint8_t> bytes) noexcept;

  bool valid() const noexcept { return valid_; }
  uint32_t FirstDirectoryOffset() const noexcept;
  std::optional<TiffDirectory> ReadDirectory(uint32_t offset) const;

  // One SHORT or LONG value of an entry (its first), or none for other types and empty counts.
  std::optional<uint32_t> UnsignedValue(const TiffEntry& entry) const noexcept;

  // Reads at an offset the caller has checked.
  uint16_t U16(size_t at) const noexcept;
  uint32_t U32(size_t at) const noexcept;
  // Writes into a copy of the block (same byte order); the caller has checked the offset.
  void PutU16(std::span<uint8_t> copy, size_t at, uint16_t value) const noexcept;
  void PutU32(std::span<uint8_t> copy, size_t at, uint32_t value) const noexcept;

 private:
  std::span<const uint8_t> bytes_;
  bool littleEndian_ = false;
  bool valid_ = false;
};

namespace tiff_tag {
constexpr uint16_t kOrientation = 0x0112;
constexpr uint16_t kExifDirectory = 0x8769;
constexpr uint16_t kGpsDirectory = 0x8825;
constexpr uint16_t kInteroperabilityDirectory = 0xA005;
constexpr uint16_t kPixelXDimension = 0xA002;
constexpr uint16_t kPixelYDimension = 0xA003;
}  // namespace tiff_tag

constexpr uint16_t kTiffShort = 3;
constexpr uint16_t kTiffLong = 4;
constexpr uint16_t kTiffIfd = 13;  // a LONG that points to a directory

}  // namespace fernwick
