#pragma once
// Builds the EXIF blocks and JPEG marker segments the imaging tests feed in: a phone photo's
// IFD0 (camera, orientation), its EXIF directory (date taken, pixel size), its GPS position and an
// IFD1 thumbnail, in either byte order, at known offsets so that tests can break them on purpose.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "imaging/core/exif_block.h"
#include "imaging/core/photo_orientation.h"
#include "imaging/core/tiff_ifd.h"

namespace fernwick::test {

struct ExifPhoto {
  bool bigEndian = false;
  uint16_t orientation = 1;
  std::string make = "Fernwick Optics";
  std::string model = "FW-12 Pro";
  std::string dateTaken = "2024:05:17 08:30:12";
  uint32_t pixelWidth = 4000, pixelHeight = 3000;
  uint32_t latitudeDegrees = 31;  // N 31 deg 14' 0"
  uint32_t thumbnailBytes = 600;
};

// Where the builder puts things, as offsets in the TIFF block (after "Exif\0\0").
struct ExifLayout {
  size_t ifd0 = 8;
  size_t orientationValue = 0;  // the SHORT's bytes inside IFD0's entry
  size_t exifPointerValue = 0;  // IFD0's pointer to the EXIF directory
  size_t makeValueOffset = 0;   // the entry field holding the offset of the make's text
  size_t exifDirectory = 0;
  size_t ifd1 = 0;
  size_t end = 0;
};

class TiffBuilder {
 public:
  struct Entry {
    uint16_t tag, type;
    uint32_t count;
    std::vector<uint8_t> value;  // already in the block's byte order; pointers are patched later
  };

  explicit TiffBuilder(bool bigEndian) : big_(bigEndian) {}

  std::vector<uint8_t> U16(uint32_t v) const {
    return big_ ? std::vector<uint8_t>{uint8_t(v >> 8), uint8_t(v)} : std::vector<uint8_t>{uint8_t(v), uint8_t(v >> 8)};
  }
  std::vector<uint8_t> U32(uint32_t v) const {
    std::vector<uint8_t> high = U16(v >> 16), low = U16(v & 0xFFFF);
    std::vector<uint8_t> out = big_ ? high : low;
    const std::vector<uint8_t>& rest = big_ ? low : high;
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
  }
  static std::vector<uint8_t> Text(const std::string& s) {
    std::vector<uint8_t> v(s.begin(), s.end());
    v.push_back(0);
    return v;
  }
  static size_t Size(const std::vector<Entry>& entries) {
    size_t size = 2 + 12 * entries.size() + 4;
    for (const Entry& e : entries) size += e.value.size() > 4 ? (e.value.size() + 1) / 2 * 2 : 0;
    return size;
  }
  // Writes a directory at out.size(); returns where each entry's 12 bytes start.
  std::vector<size_t> Write(std::vector<uint8_t>& out, const std::vector<Entry>& entries, uint32_t next) const {
    const size_t at = out.size();
    size_t values = at + 2 + 12 * entries.size() + 4;
    Append(out, U16(uint32_t(entries.size())));
    std::vector<size_t> entryAt;
    std::vector<uint8_t> tail;
    for (const Entry& e : entries) {
      entryAt.push_back(out.size());
      Append(out, U16(e.tag));
      Append(out, U16(e.type));
      Append(out, U32(e.count));
      if (e.value.size() <= 4) {
        std::vector<uint8_t> inline_value = e.value;
        inline_value.resize(4, 0);
        Append(out, inline_value);
      } else {
        Append(out, U32(uint32_t(values + tail.size())));
        Append(tail, e.value);
        if (tail.size() % 2) tail.push_back(0);
      }
    }
    Append(out, U32(next));
    Append(out, tail);
    return entryAt;
  }
  static void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) {
    out.insert(out.end(), more.begin(), more.end());
  }

 private:
  bool big_;
};

// The TIFF block of the photo (no "Exif\0\0"), and where its parts are.
inline std::vector<uint8_t> MakeTiffBlock(const ExifPhoto& photo, ExifLayout* layout = nullptr) {
  const TiffBuilder b(photo.bigEndian);
  using E = TiffBuilder::Entry;
  std::vector<E> ifd0 = {
      {0x010F, 2, uint32_t(photo.make.size() + 1), b.Text(photo.make)},
      {0x0110, 2, uint32_t(photo.model.size() + 1), b.Text(photo.model)},
      {0x0112, 3, 1, b.U16(photo.orientation)},
      {0x8769, 4, 1, b.U32(0)},
      {0x8825, 4, 1, b.U32(0)},
  };
  std::vector<E> exif = {
      {0x9003, 2, 20, b.Text(photo.dateTaken)},
      {0xA002, 4, 1, b.U32(photo.pixelWidth)},
      {0xA003, 3, 1, b.U16(photo.pixelHeight)},
  };
  std::vector<uint8_t> latitude;
  for (uint32_t part : {photo.latitudeDegrees, 1u, 14u, 1u, 0u, 1u}) TiffBuilder::Append(latitude, b.U32(part));
  std::vector<E> gps = {{0x0001, 2, 2, b.Text("N")}, {0x0002, 5, 3, latitude}};
  std::vector<E> ifd1 = {{0x0201, 4, 1, b.U32(0)}, {0x0202, 4, 1, b.U32(photo.thumbnailBytes)}};

  ExifLayout at;
  at.exifDirectory = at.ifd0 + TiffBuilder::Size(ifd0);
  const size_t gpsAt = at.exifDirectory + TiffBuilder::Size(exif);
  at.ifd1 = gpsAt + TiffBuilder::Size(gps);
  const size_t thumbnailAt = at.ifd1 + TiffBuilder::Size(ifd1);
  ifd0[3].value = b.U32(uint32_t(at.exifDirectory));
  ifd0[4].value = b.U32(uint32_t(gpsAt));
  ifd1[0].value = b.U32(uint32_t(thumbnailAt));

  std::vector<uint8_t> out =
      photo.bigEndian ? std::vector<uint8_t>{'M', 'M', 0, 42} : std::vector<uint8_t>{'I', 'I', 42, 0};
  TiffBuilder::Append(out, b.U32(uint32_t(at.ifd0)));
  const std::vector<size_t> entries0 = b.Write(out, ifd0, uint32_t(at.ifd1));
  b.Write(out, exif, 0);
  b.Write(out, gps, 0);
  b.Write(out, ifd1, 0);
  // A thumbnail's worth of bytes (a real one is a small JPEG).
  for (uint32_t i = 0; i < photo.thumbnailBytes; ++i) out.push_back(uint8_t(i * 7));
  at.orientationValue = entries0[2] + 8;
  at.exifPointerValue = entries0[3] + 8;
  at.makeValueOffset = entries0[0] + 8;
  at.end = out.size();
  if (layout) *layout = at;
  return out;
}

// The APP1 payload: "Exif\0\0" and the TIFF block.
inline std::vector<uint8_t> MakeExifPayload(const std::vector<uint8_t>& tiff) {
  std::vector<uint8_t> payload = {'E', 'x', 'i', 'f', 0, 0};
  TiffBuilder::Append(payload, tiff);
  return payload;
}

// A marker segment: 0xFF, the marker, the length and the payload.
inline std::vector<uint8_t> MakeSegment(uint8_t marker, const std::vector<uint8_t>& payload) {
  const size_t length = payload.size() + 2;
  std::vector<uint8_t> out = {0xFF, marker, uint8_t(length >> 8), uint8_t(length)};
  TiffBuilder::Append(out, payload);
  return out;
}

// What a test checks of an EXIF payload, read back with the directory reader.
struct ExifFacts {
  uint16_t orientation = 0;
  std::string make, model, dateTaken;
  uint32_t pixelWidth = 0, pixelHeight = 0, latitudeDegrees = 0, nextDirectory = 0;
};

inline std::optional<ExifFacts> ReadExifFacts(std::span<const uint8_t> payload) {
  if (payload.size() < 6) return std::nullopt;
  const TiffBlock block(payload.subspan(6));
  const auto ifd0 = block.ReadDirectory(block.FirstDirectoryOffset());
  if (!ifd0) return std::nullopt;
  const auto text = [&](const TiffDirectory& d, uint16_t tag) {
    const TiffEntry* e = d.Find(tag);
    return e ? std::string(reinterpret_cast<const char*>(payload.data() + 6 + e->valueAt), e->count - 1) : "";
  };
  const auto pointed = [&](uint16_t tag) -> std::optional<TiffDirectory> {
    const TiffEntry* e = ifd0->Find(tag);
    return e ? block.ReadDirectory(block.U32(e->valueAt)) : std::nullopt;
  };
  const auto exif = pointed(tiff_tag::kExifDirectory);
  const auto gps = pointed(tiff_tag::kGpsDirectory);
  if (!exif || !gps || !gps->Find(0x0002)) return std::nullopt;
  ExifFacts facts;
  facts.orientation = ExifOrientation(payload);
  facts.make = text(*ifd0, 0x010F);
  facts.model = text(*ifd0, 0x0110);
  facts.dateTaken = text(*exif, 0x9003);
  facts.pixelWidth = block.UnsignedValue(*exif->Find(tiff_tag::kPixelXDimension)).value_or(0);
  facts.pixelHeight = block.UnsignedValue(*exif->Find(tiff_tag::kPixelYDimension)).value_or(0);
  facts.latitudeDegrees = block.U32(gps->Find(0x0002)->valueAt);
  facts.nextDirectory = block.U32(ifd0->nextOffsetAt);
  return facts;
}

// How a camera stores an upright scene under each EXIF orientation (1 to 8): the definition of
// where the stored picture's first row and first column lie in the scene (orientation 6: the
// first row is the scene's right side, the first column its top).
inline PixelTransform StoringTransform(uint16_t orientation) {
  static constexpr PixelTransform kStoring[9] = {
      PixelTransform::kNone,      PixelTransform::kNone,         PixelTransform::kFlipHorizontal,
      PixelTransform::kRotate180, PixelTransform::kFlipVertical, PixelTransform::kTranspose,
      PixelTransform::kRotate270, PixelTransform::kTransverse,   PixelTransform::kRotate90};
  return kStoring[orientation <= 8 ? orientation : 0];
}

inline std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

}  // namespace fernwick::test
