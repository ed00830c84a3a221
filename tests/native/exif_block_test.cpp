// The EXIF block: orientation in both byte orders, the upright copy's rewriting, what a working
// copy keeps of a JPEG's head, and blocks broken in every way a file can break them.
#include <gtest/gtest.h>

#include <string>

#include "imaging/core/exif_block.h"
#include "imaging/core/photo_metadata.h"
#include "tests/common/exif_fixture.h"

namespace fernwick {
namespace {

using test::ExifLayout;
using test::ExifPhoto;

std::vector<uint8_t> JpegHead(const std::vector<std::vector<uint8_t>>& segments) {
  std::vector<uint8_t> jpeg = {0xFF, 0xD8};
  for (const auto& s : segments) jpeg.insert(jpeg.end(), s.begin(), s.end());
  // The start of a scan ends the head; what follows is never read.
  const std::vector<uint8_t> scan = {0xFF, 0xDA, 0x00, 0x02, 0x12, 0x34, 0xFF, 0xD9};
  jpeg.insert(jpeg.end(), scan.begin(), scan.end());
  return jpeg;
}

TEST(ExifBlock, EveryOrientationInBothByteOrdersIsReadAndMadeUpright) {
  for (bool bigEndian : {false, true}) {
    for (uint16_t orientation = 1; orientation <= 8; ++orientation) {
      SCOPED_TRACE(testing::Message() << (bigEndian ? "MM" : "II") << " orientation " << orientation);
      ExifPhoto photo;
      photo.bigEndian = bigEndian;
      photo.orientation = orientation;
      const std::vector<uint8_t> tiff = test::MakeTiffBlock(photo);
      const std::vector<uint8_t> jpeg = JpegHead({test::MakeSegment(0xE1, test::MakeExifPayload(tiff))});
      EXPECT_EQ(JpegOrientation(jpeg), orientation);
      EXPECT_EQ(TiffFileOrientation(tiff), orientation);

      const std::vector<AppSegment> kept = SegmentsForUprightCopy(jpeg, 1024, 768);
      ASSERT_EQ(kept.size(), 1u);
      const std::vector<uint8_t>& copy = kept[0].payload;
      // The thumbnail is gone, the camera, date and position are not.
      EXPECT_LT(copy.size(), tiff.size() + 6 - photo.thumbnailBytes);
      const std::optional<test::ExifFacts> facts = test::ReadExifFacts(copy);
      ASSERT_TRUE(facts);
      EXPECT_EQ(facts->orientation, 1);
      EXPECT_EQ(facts->nextDirectory, 0u);
      EXPECT_EQ(facts->make, photo.make);
      EXPECT_EQ(facts->model, photo.model);
      EXPECT_EQ(facts->dateTaken, photo.dateTaken);
      EXPECT_EQ(facts->latitudeDegrees, photo.latitudeDegrees);
      EXPECT_EQ(facts->pixelWidth, 1024u);
      EXPECT_EQ(facts->pixelHeight, 768u);
    }
  }
}

TEST(ExifBlock, WorkingCopyKeepsExifXmpAndColourProfileOnly) {
  const std::vector<uint8_t> exif = test::MakeExifPayload(test::MakeTiffBlock({.orientation = 6}));
  const std::string xmpText = std::string("http://ns.adobe.com/xap/1.0/") + '\0' +
                              "<x:xmpmeta><rdf:Description tiff:Orientation=\"6\" xmp:Rating=\"4\"/>"
                              "<tiff:Orientation>6</tiff:Orientation></x:xmpmeta>";
  const std::string iccText = std::string("ICC_PROFILE") + '\0' + "\x01\x01" + "profile bytes";
  const std::vector<uint8_t> jpeg = JpegHead({
      test::MakeSegment(0xE0, test::Bytes(std::string("JFIF") + '\0' + "\x01\x02")),
      test::MakeSegment(0xE1, exif),
      test::MakeSegment(0xE1, test::Bytes(xmpText)),
      test::MakeSegment(0xED, test::Bytes("Photoshop 3.0")),
      test::MakeSegment(0xE2, test::Bytes(iccText)),
  });
  const std::vector<AppSegment> kept = SegmentsForUprightCopy(jpeg, 768, 1024);
  ASSERT_EQ(kept.size(), 3u);
  EXPECT_EQ(kept[0].marker, 0xE1);
  EXPECT_EQ(ExifOrientation(kept[0].payload), 1);
  std::string uprightXmp = xmpText;
  for (size_t at = uprightXmp.find('6'); at != std::string::npos; at = uprightXmp.find('6')) uprightXmp[at] = '1';
  EXPECT_EQ(kept[1], (AppSegment{0xE1, test::Bytes(uprightXmp)}));
  EXPECT_EQ(kept[2], (AppSegment{0xE2, test::Bytes(iccText)}));
}

// How a block is broken: by the bytes of a good one at the builder's known offsets.
struct BrokenCase {
  const char* what;
  void (*breakIt)(std::vector<uint8_t>& tiff, const ExifLayout& at);
  bool copied;  // an orientation out of range leaves the block well-formed
};

void Put32(std::vector<uint8_t>& tiff, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) tiff[at + i] = uint8_t(v >> (8 * i));  // the fixture is little-endian
}

TEST(ExifBlock, BrokenBlocksReadAsOrientationOneAndAreNotCopied) {
  const BrokenCase cases[] = {
      {"truncated inside IFD0", [](auto& t, auto&) { t.resize(30); }, false},
      {"truncated inside a value", [](auto& t, auto& at) { t.resize(at.exifDirectory + 20); }, false},
      {"no header", [](auto& t, auto&) { t[0] = 'X'; }, false},
      {"wrong magic number", [](auto& t, auto&) { t[2] = 43; }, false},
      {"IFD0 outside the block", [](auto& t, auto& at) { Put32(t, 4, uint32_t(at.end + 100)); }, false},
      {"IFD0 inside the header", [](auto& t, auto&) { Put32(t, 4, 2); }, false},
      {"IFD0 offset at the very end", [](auto& t, auto& at) { Put32(t, 4, uint32_t(at.end - 1)); }, false},
      {"huge entry count", [](auto& t, auto& at) { t[at.ifd0] = 0xFF, t[at.ifd0 + 1] = 0xFF; }, false},
      {"value offset outside", [](auto& t, auto& at) { Put32(t, at.makeValueOffset, 0xFFFFFFF0u); }, false},
      {"huge value count", [](auto& t, auto& at) { Put32(t, at.makeValueOffset - 4, 0x40000000u); }, false},
      {"unknown field type", [](auto& t, auto& at) { t[at.makeValueOffset - 6] = 99; }, false},
      {"EXIF directory loops to IFD0", [](auto& t, auto& at) { Put32(t, at.exifPointerValue, uint32_t(at.ifd0)); },
       false},
      {"EXIF directory outside", [](auto& t, auto& at) { Put32(t, at.exifPointerValue, 0x7FFFFFFFu); }, false},
      {"orientation 0", [](auto& t, auto& at) { t[at.orientationValue] = 0; }, true},
      {"orientation 9", [](auto& t, auto& at) { t[at.orientationValue] = 9; }, true},
      {"orientation 0x0106", [](auto& t, auto& at) { t[at.orientationValue + 1] = 1; }, true},
  };
  for (const BrokenCase& c : cases) {
    SCOPED_TRACE(c.what);
    ExifLayout at;
    std::vector<uint8_t> tiff = test::MakeTiffBlock({.orientation = 6}, &at);
    c.breakIt(tiff, at);
    const std::vector<uint8_t> jpeg = JpegHead({test::MakeSegment(0xE1, test::MakeExifPayload(tiff))});
    EXPECT_EQ(JpegOrientation(jpeg), 1);
    const std::vector<AppSegment> kept = SegmentsForUprightCopy(jpeg, 640, 480);
    EXPECT_EQ(kept.size(), c.copied ? 1u : 0u);
    if (!kept.empty()) {
      EXPECT_EQ(ExifOrientation(kept[0].payload), 1);
    }
  }
}

TEST(ExifBlock, BrokenJpegHeadsKeepWhatCameBefore) {
  const std::vector<uint8_t> good =
      test::MakeSegment(0xE1, test::MakeExifPayload(test::MakeTiffBlock({.orientation = 8})));
  std::vector<uint8_t> cut = JpegHead({good});
  cut.resize(cut.size() - 20);
  std::vector<uint8_t> overlong = JpegHead({test::MakeSegment(0xE2, {1, 2, 3})});
  overlong[4] = 0x7F;  // the ICC segment claims more bytes than the file holds
  const struct {
    const char* what;
    std::vector<uint8_t> jpeg;
    uint16_t orientation;
  } cases[] = {
      {"no SOI", std::vector<uint8_t>(good.begin(), good.end()), 1},
      {"empty", {}, 1},
      {"segment cut short", cut, 1},
      {"fill bytes before the marker", JpegHead({{0xFF, 0xFF}, good}), 8},
      {"overlong segment", overlong, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JpegOrientation(c.jpeg), c.orientation) << c.what;
    EXPECT_TRUE(SegmentsForUprightCopy(c.jpeg, 1, 1).size() == (c.orientation == 8 ? 1u : 0u)) << c.what;
  }
}

}  // namespace
}  // namespace fernwick
