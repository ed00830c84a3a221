// The size a PNG, GIF, BMP or TIFF header claims, and the bound past which a file is passed over.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "imaging/core/picture_header.h"

namespace fernwick {
namespace {

std::span<const uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

std::string Png(const std::string& width, const std::string& height) {
  return std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16) + width + height + std::string("\x08\x02\0\0\0", 5);
}

// A little-endian TIFF with one directory of ImageWidth (LONG) and ImageLength (SHORT).
std::string Tiff(const std::string& widthLong, const std::string& lengthShort) {
  return std::string("II*\0\x08\0\0\0\x02\0", 10) + std::string("\x00\x01\x04\0\x01\0\0\0", 8) + widthLong +
         std::string("\x01\x01\x03\0\x01\0\0\0", 8) + lengthShort + std::string("\0\0\0\0\0\0", 6);
}

TEST(PictureHeader, ClaimedSizesAndTheBound) {
  // A third entry of type 99 ahead of the two sizes: a decoder skips it.
  std::string unknownType = Tiff(std::string("\x30\x75\0\0", 4), std::string("\x30\x75\0\0", 4));
  unknownType[8] = 3;
  unknownType.insert(10, std::string("\x99\x99\x63\0\x09\0\0\0\x40\0\0\0", 12));
  const std::string bmpInfo = std::string("BM", 2) + std::string(12, '\0') + std::string("\x28\0\0\0", 4);
  const struct {
    const char* name;
    std::string bytes;
    std::optional<uint64_t> width, height;
    bool tooLarge;
  } cases[] = {
      {"png", Png(std::string("\0\0\x0F\xA0", 4), std::string("\0\0\x0B\xB8", 4)), 4000, 3000, false},
      {"png 30000", Png(std::string("\0\0\x75\x30", 4), std::string("\0\0\x75\x30", 4)), 30000, 30000, true},
      {"png 2^32-1 x 1", Png("\xFF\xFF\xFF\xFF", std::string("\0\0\0\x01", 4)), 0xFFFFFFFFu, 1, true},
      {"png at the bound", Png(std::string("\0\0\x40\0", 4), std::string("\0\0\x40\0", 4)), 16384, 16384, false},
      {"png cut", Png("", "").substr(0, 20), std::nullopt, std::nullopt, false},
      {"gif", std::string("GIF89a\x60\xEA\x60\xEA\0", 11), 60000, 60000, true},
      {"gif small", std::string("GIF87a\xC8\0\x96\0\0", 11), 200, 150, false},
      {"bmp top-down", bmpInfo + std::string("\x30\x75\0\0\xD0\x8A\xFF\xFF", 8), 30000, 30000, true},
      {"bmp", bmpInfo + std::string("\xC8\0\0\0\x96\0\0\0", 8), 200, 150, false},
      {"bmp core", std::string("BM", 2) + std::string(12, '\0') + std::string("\x0C\0\0\0\xFF\xFF\xFF\xFF", 8),
       65535, 65535, true},
      {"tiff", Tiff(std::string("\x30\x75\0\0", 4), std::string("\x30\x75\0\0", 4)), 30000, 30000, true},
      {"tiff small", Tiff(std::string("\xC8\0\0\0", 4), std::string("\x96\0\0\0", 4)), 200, 150, false},
      // A TIFF whose size cannot be read could claim any: it is passed over.
      {"tiff cut", Tiff(std::string("\xC8\0\0\0", 4), "").substr(0, 30), std::nullopt, std::nullopt, true},
      {"tiff with a type unknown here", unknownType, 30000, 30000, true},
      {"jpeg", std::string("\xFF\xD8\xFF\xE0", 4), std::nullopt, std::nullopt, false},
      {"empty", "", std::nullopt, std::nullopt, false},
  };
  for (const auto& c : cases) {
    const std::optional<ClaimedSize> size = ReadClaimedSize(Bytes(c.bytes));
    EXPECT_EQ(size.has_value(), c.width.has_value()) << c.name;
    if (size && c.width) {
      EXPECT_EQ(size->width, *c.width) << c.name;
      EXPECT_EQ(size->height, *c.height) << c.name;
    }
    EXPECT_EQ(PictureTooLargeToDecode(Bytes(c.bytes)), c.tooLarge) << c.name;
  }
}

}  // namespace
}  // namespace fernwick
