#include "imaging/core/exif_block.h"

#include <algorithm>

#include "imaging/core/jpeg_segments.h"
#include "imaging/core/tiff_ifd.h"

namespace fernwick {

namespace {

struct ReadDirectories {
  TiffDirectory ifd0;
  std::vector<TiffDirectory> others;  // EXIF, GPS and interoperability directories present
  size_t end = 0;                     // one past the last byte any of them uses
};

// Follows a pointer entry to the directory it names. False when the pointer or the directory is
// unreadable or was reached before (a loop).
bool FollowPointer(const TiffBlock& block, const TiffEntry* pointer, std::vector<uint32_t>& visited,
                   ReadDirectories& read) {
  if (pointer == nullptr) return true;
  if (pointer->count != 1 || (pointer->type != kTiffLong && pointer->type != kTiffIfd)) return false;
  const uint32_t offset = block.U32(pointer->valueAt);
  if (std::find(visited.begin(), visited.end(), offset) != visited.end()) return false;
  visited.push_back(offset);
  std::optional<TiffDirectory> directory = block.ReadDirectory(offset);
  if (!directory) return false;
  read.end = std::max(read.end, directory->end);
  read.others.push_back(std::move(*directory));
  return true;
}

std::optional<ReadDirectories> ReadAllDirectories(const TiffBlock& block) {
  const uint32_t first = block.FirstDirectoryOffset();
  std::optional<TiffDirectory> ifd0 = block.ReadDirectory(first);
  if (!ifd0) return std::nullopt;
  ReadDirectories read;
  read.end = ifd0->end;
  std::vector<uint32_t> visited{first};
  if (!FollowPointer(block, ifd0->Find(tiff_tag::kExifDirectory), visited, read)) return std::nullopt;
  if (!FollowPointer(block, ifd0->Find(tiff_tag::kGpsDirectory), visited, read)) return std::nullopt;
  if (ifd0->Find(tiff_tag::kExifDirectory) != nullptr) {
    // A copy: following the pointer grows the vector that holds the entry.
    const TiffEntry* found = read.others.front().Find(tiff_tag::kInteroperabilityDirectory);
    const std::optional<TiffEntry> interop = found ? std::optional<TiffEntry>(*found) : std::nullopt;
    if (!FollowPointer(block, interop ? &*interop : nullptr, visited, read)) return std::nullopt;
  }
  read.ifd0 = std::move(*ifd0);
  return read;
}

uint16_t OrientationIn(const TiffBlock& block, const TiffDirectory& ifd0) {
  const TiffEntry* entry = ifd0.Find(tiff_tag::kOrientation);
  if (entry == nullptr || entry->count != 1) return 1;
  const std::optional<uint32_t> value = block.UnsignedValue(*entry);
  return value && *value >= 1 && *value <= 8 ? static_cast<uint16_t>(*value) : 1;
}

// Sets a SHORT or LONG entry's first value; false for any other type.
bool SetUnsigned(const TiffBlock& block, std::span<uint8_t> copy, const TiffEntry* entry, uint32_t value) {
  if (entry == nullptr) return true;
  if (entry->count == 0) return false;
  if (entry->type == kTiffShort && value <= 0xFFFF) {
    block.PutU16(copy, entry->valueAt, static_cast<uint16_t>(value));
    return true;
  }
  if (entry->type == kTiffLong) {
    block.PutU32(copy, entry->valueAt, value);
    return true;
  }
  return false;
}

const TiffDirectory* ExifDirectoryOf(const ReadDirectories& read) {
  return read.ifd0.Find(tiff_tag::kExifDirectory) != nullptr ? &read.others.front() : nullptr;
}

// Orientation 1, the copy's size, no IFD1.
bool Patch(const TiffBlock& block, std::span<uint8_t> copy, const ReadDirectories& read, uint32_t width,
           uint32_t height) {
  block.PutU32(copy, read.ifd0.nextOffsetAt, 0);
  if (!SetUnsigned(block, copy, read.ifd0.Find(tiff_tag::kOrientation), 1)) return false;
  const TiffDirectory* exif = ExifDirectoryOf(read);
  return exif == nullptr || (SetUnsigned(block, copy, exif->Find(tiff_tag::kPixelXDimension), width) &&
                             SetUnsigned(block, copy, exif->Find(tiff_tag::kPixelYDimension), height));
}

bool HoldsValue(const TiffBlock& block, const TiffEntry* entry, uint32_t value) {
  return entry == nullptr || block.UnsignedValue(*entry) == value;
}

bool Holds(const TiffBlock& block, const ReadDirectories& read, uint32_t width, uint32_t height) {
  const TiffDirectory* exif = ExifDirectoryOf(read);
  return block.U32(read.ifd0.nextOffsetAt) == 0 && HoldsValue(block, read.ifd0.Find(tiff_tag::kOrientation), 1) &&
         (exif == nullptr || (HoldsValue(block, exif->Find(tiff_tag::kPixelXDimension), width) &&
                              HoldsValue(block, exif->Find(tiff_tag::kPixelYDimension), height)));
}

}  // namespace

uint16_t ExifOrientation(std::span<const uint8_t> payload) {
  if (!PayloadStartsWith(payload, kExifSignature)) return 1;
  const TiffBlock block(payload.subspan(sizeof kExifSignature));
  const std::optional<ReadDirectories> read = ReadAllDirectories(block);
  return read ? OrientationIn(block, read->ifd0) : 1;
}

uint16_t TiffFileOrientation(std::span<const uint8_t> file) {
  const TiffBlock block(file);
  const std::optional<TiffDirectory> ifd0 = block.ReadDirectory(block.FirstDirectoryOffset());
  return ifd0 ? OrientationIn(block, *ifd0) : 1;
}

std::optional<std::vector<uint8_t>> UprightExifPayload(std::span<const uint8_t> payload, uint32_t width,
                                                       uint32_t height) {
  if (!PayloadStartsWith(payload, kExifSignature)) return std::nullopt;
  const TiffBlock block(payload.subspan(sizeof kExifSignature));
  const std::optional<ReadDirectories> read = ReadAllDirectories(block);
  if (!read) return std::nullopt;

  // What follows the last byte the kept directories use is IFD1 and its thumbnail in every
  // camera's layout; it goes. Whatever of them lies before stays as unreferenced bytes: moving
  // the rest would break the offsets maker notes keep relative to the block's start.
  std::vector<uint8_t> copy(payload.begin(), payload.begin() + sizeof kExifSignature + read->end);
  const std::span<uint8_t> copyTiff = std::span<uint8_t>(copy).subspan(sizeof kExifSignature);
  if (!Patch(block, copyTiff, *read, width, height)) return std::nullopt;

  // Directories of a crafted block can overlap, so that one write changes another's entries:
  // the copy is kept only when it reads back as written.
  const TiffBlock written(copyTiff);
  const std::optional<ReadDirectories> again = ReadAllDirectories(written);
  if (!again || again->end != read->end || !Holds(written, *again, width, height)) return std::nullopt;
  return copy;
}

}  // namespace fernwick
