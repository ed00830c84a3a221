// What kind a HEIF or WebP file is by its own bytes, the size its header claims, the bound past
// which it is passed over, and the EXIF payload its copy carries.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "imaging/core/heif_webp_header.h"

namespace fernwick {
namespace {

std::span<const uint8_t> Bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

std::string Be32(uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }
std::string Le(uint32_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s.push_back(char(v >> (8 * i)));
  return s;
}
std::string IsoBox(const std::string& type, const std::string& body) {
  return Be32(uint32_t(8 + body.size())) + type + body;
}
std::string Ispe(uint32_t w, uint32_t h) { return IsoBox("ispe", std::string(4, '\0') + Be32(w) + Be32(h)); }
std::string Ftyp(const std::string& major, const std::string& compatible) {
  return IsoBox("ftyp", major + std::string(4, '\0') + compatible);
}
// ftyp, then meta > (hdlr) iprp > ipco > the properties.
std::string Heif(const std::string& ftyp, const std::string& properties) {
  const std::string iprp = IsoBox("iprp", IsoBox("ipco", IsoBox("colr", "prof") + properties));
  return ftyp + IsoBox("meta", std::string(4, '\0') + IsoBox("hdlr", std::string(24, '\0')) + iprp) +
         IsoBox("mdat", "xx");
}
std::string Riff(const std::string& chunk) { return "RIFF" + Le(uint32_t(4 + chunk.size()), 4) + "WEBP" + chunk; }
std::string Vp8(uint32_t w, uint32_t h) {
  return Riff("VP8 " + Le(10, 4) + std::string("\x10\x02\x00\x9D\x01\x2A", 6) + Le(w, 2) + Le(h, 2));
}
std::string Vp8l(uint32_t w, uint32_t h) { return Riff("VP8L" + Le(5, 4) + "\x2F" + Le((w - 1) | (h - 1) << 14, 4)); }
std::string Vp8x(uint32_t w, uint32_t h) {
  return Riff("VP8X" + Le(10, 4) + Le(0x10, 4) + Le(w - 1, 3) + Le(h - 1, 3));
}

TEST(HeifWebpHeader, KindsSizesAndTheBound) {
  const std::string heic = Ftyp("heic", "mif1heic");
  const struct {
    const char* name;
    std::string bytes;
    ContainerKind kind;
    std::optional<uint64_t> width, height;
    bool tooLarge;
  } cases[] = {
      {"heic", Heif(heic, Ispe(4032, 3024)), ContainerKind::kHeif, 4032, 3024, false},
      {"grid: the largest", Heif(heic, Ispe(512, 512) + Ispe(4032, 3024) + Ispe(512, 512)), ContainerKind::kHeif, 4032,
       3024, false},
      {"mif1 compatible", Heif(Ftyp("abcd", "mif1"), Ispe(8, 8)), ContainerKind::kHeif, 8, 8, false},
      {"heic over", Heif(heic, Ispe(20000, 20000)), ContainerKind::kHeif, 20000, 20000, true},
      {"heic at the bound", Heif(heic, Ispe(16384, 16384)), ContainerKind::kHeif, 16384, 16384, false},
      {"heic thumbnail over", Heif(heic, Ispe(100, 100) + Ispe(70000, 70000)), ContainerKind::kHeif, 70000, 70000,
       true},
      {"heic without ispe", Heif(heic, ""), ContainerKind::kHeif, std::nullopt, std::nullopt, true},
      {"heic cut", Heif(heic, Ispe(4032, 3024)).substr(0, 60), ContainerKind::kHeif, std::nullopt, std::nullopt, true},
      {"mp4", Heif(Ftyp("isom", "mp41"), Ispe(8, 8)), ContainerKind::kOther, std::nullopt, std::nullopt, false},
      {"webp lossy", Vp8(4032, 3024), ContainerKind::kWebp, 4032, 3024, false},
      {"webp lossless", Vp8l(16384, 16384), ContainerKind::kWebp, 16384, 16384, false},
      {"webp extended", Vp8x(3000, 2000), ContainerKind::kWebp, 3000, 2000, false},
      {"webp canvas over", Vp8x(16777216, 17), ContainerKind::kWebp, 16777216, 17, true},
      {"webp bad start code", Riff("VP8 " + Le(10, 4) + std::string(10, '\0')), ContainerKind::kWebp, std::nullopt,
       std::nullopt, true},
      {"webp cut", Vp8x(3000, 2000).substr(0, 25), ContainerKind::kWebp, std::nullopt, std::nullopt, true},
      {"wave", "RIFF" + Le(4, 4) + "WAVE", ContainerKind::kOther, std::nullopt, std::nullopt, false},
      {"text", "just a text file named .heic", ContainerKind::kOther, std::nullopt, std::nullopt, false},
      {"empty", "", ContainerKind::kOther, std::nullopt, std::nullopt, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SniffContainer(Bytes(c.bytes)), c.kind) << c.name;
    const std::optional<ClaimedSize> size = ReadContainerClaimedSize(Bytes(c.bytes));
    EXPECT_EQ(size.has_value(), c.width.has_value()) << c.name;
    if (size && c.width) {
      EXPECT_EQ(size->width, *c.width) << c.name;
      EXPECT_EQ(size->height, *c.height) << c.name;
    }
    EXPECT_EQ(ContainerTooLargeToDecode(Bytes(c.bytes)), c.tooLarge) << c.name;
  }
}

TEST(HeifWebpHeader, ExifPayloads) {
  const std::string tiff = std::string("II*\0\x08\0\0\0", 8) + "rest";
  const std::string want = std::string("Exif\0\0", 6) + tiff;
  const struct {
    const char* name;
    std::vector<uint8_t> (*read)(std::span<const uint8_t>);
    std::string bytes;
    std::string payload;
  } cases[] = {
      {"heif offset 0", ExifPayloadFromHeifItem, Be32(0) + tiff, want},
      {"heif past a signature", ExifPayloadFromHeifItem, Be32(6) + std::string("Exif\0\0", 6) + tiff, want},
      {"heif big-endian tiff", ExifPayloadFromHeifItem, Be32(0) + std::string("MM\0*\0\0\0\x08", 8),
       std::string("Exif\0\0MM\0*\0\0\0\x08", 14)},
      {"heif offset past the end", ExifPayloadFromHeifItem, Be32(0xFFFFFFFF) + tiff, ""},
      {"heif no tiff", ExifPayloadFromHeifItem, Be32(0) + "not a tiff block", ""},
      {"heif cut", ExifPayloadFromHeifItem, "\0\0", ""},
      {"webp bare", ExifPayloadFromWebpChunk, tiff, want},
      {"webp with signature", ExifPayloadFromWebpChunk, want, want},
      {"webp other", ExifPayloadFromWebpChunk, "garbage garbage", ""},
  };
  for (const auto& c : cases) {
    const std::vector<uint8_t> payload = c.read(Bytes(c.bytes));
    EXPECT_EQ(std::string(payload.begin(), payload.end()), c.payload) << c.name;
  }
}

}  // namespace
}  // namespace fernwick
