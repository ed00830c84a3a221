// HEIF and WebP photos (made before this test by tests/win/pictures/make_heif_webp_pictures.sh,
// named by FERNWICK_HEIF_WEBP_PICTURES) are added like JPEGs, whatever their files are named: a
// JPEG copy upright and scaled to the limit, carrying the photo's EXIF (orientation 1, the copy's
// size, no thumbnail) and its colour profile, with a thumbnail from the same pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "imaging/add_photos.h"
#include "imaging/core/icc_from_primaries.h"
#include "imaging/core/jpeg_segments.h"
#include "imaging/core/path_rules.h"
#include "imaging/file_bytes.h"
#include "imaging/jpeg_codec.h"
#include "imaging/photo_item.h"
#include "support/exif_photos.h"
#include "support/photo_test_pictures.h"

namespace fernwick {
namespace {

std::wstring PicturesDirectory() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"FERNWICK_HEIF_WEBP_PICTURES", buffer, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(buffer, length) + L"\\";
}

// The ICC profile a JPEG's APP2 chunks hold, put back together.
std::vector<uint8_t> IccProfileOf(std::span<const uint8_t> jpeg) {
  std::vector<uint8_t> profile;
  for (const JpegSegment& segment : ReadJpegSegments(jpeg)) {
    if (segment.marker == 0xE2 && segment.payload.size() > 14 &&
        std::memcmp(segment.payload.data(), "ICC_PROFILE\0", 12) == 0) {
      profile.insert(profile.end(), segment.payload.begin() + 14, segment.payload.end());
    }
  }
  return profile;
}

// Half-transparent black over white.
bool IsMidGrey(const uint8_t* bgr) {
  for (int c = 0; c < 3; ++c) {
    if (bgr[c] < 100 || bgr[c] > 160) return false;
  }
  return true;
}

bool IsGreen(const uint8_t* bgr) { return bgr[1] > 150 && bgr[2] < 80 && bgr[0] < 80; }

class HeifWebpAdd : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ResetWorkDirectories();
    ASSERT_FALSE(dir.empty()) << "FERNWICK_HEIF_WEBP_PICTURES names no folder";
  }
  std::wstring dir = PicturesDirectory();
};

TEST_F(HeifWebpAdd, EveryKindWithinAndOverTheLimit) {
  const struct {
    const wchar_t* name;
    int32_t limit;
    uint32_t width, height;
    bool (*corner)(const uint8_t*);
    bool codePointsOnly = false;  // colours as nclx alone: the copy carries a profile made for them
  } cases[] = {
      {L"heic.heic", 1024, 320, 240, test::IsRed},
      {L"heic.heic", 160, 160, 120, test::IsRed},
      {L"heic-10bit.heic", 1024, 320, 240, test::IsRed},
      {L"heic-10bit.heic", 160, 160, 120, test::IsRed},
      {L"heic-irot.heic", 1024, 320, 240, test::IsRed},
      {L"heic-irot.heic", 160, 160, 120, test::IsRed},
      {L"heic-imir.heic", 1024, 320, 240, test::IsRed},
      {L"heic-imir.heic", 160, 160, 120, test::IsRed},
      {L"heic-10bit-imir.heic", 1024, 320, 240, test::IsRed},
      {L"heic-10bit-imir.heic", 160, 160, 120, test::IsRed},
      {L"heic-nclx-p3.heic", 1024, 320, 240, test::IsRed, true},
      {L"heic-nclx-p3.heic", 160, 160, 120, test::IsRed, true},
      {L"heic-named.jpg", 1024, 320, 240, test::IsRed},
      {L"heic-alpha.heic", 160, 160, 120, IsMidGrey},
      {L"webp-lossy.webp", 1024, 320, 240, test::IsRed},
      {L"webp-lossy.webp", 160, 160, 120, test::IsRed},
      {L"webp-lossless.webp", 1024, 320, 240, test::IsRed},
      {L"webp-lossless.webp", 160, 160, 120, test::IsRed},
      {L"webp-alpha.webp", 1024, 320, 240, IsMidGrey},
      {L"webp-alpha.webp", 160, 160, 120, IsMidGrey},
      {L"webp-animated.webp", 1024, 320, 240, test::IsRed},
      {L"webp-animated.webp", 160, 160, 120, test::IsRed},
  };
  const std::optional<std::vector<uint8_t>> profile = ReadFileBytes(dir + L"display-p3.icc");
  ASSERT_TRUE(profile && !profile->empty());
  const std::optional<std::vector<uint8_t>> madeProfile =
      IccProfileForPrimaries({0.680, 0.320, 0.265, 0.690, 0.150, 0.060, 0.3127, 0.3290}, 13, "Display P3");
  int32_t number = 1;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.name, c.name + wcslen(c.name)) << ", limit " << c.limit);
    const std::wstring path = dir + c.name;
    PreparedPhoto prepared = PreparePhoto(path, c.limit, number++);
    ASSERT_EQ(prepared.outcome, PreparedPhoto::Outcome::kPhoto);
    const PhotoItem& item = *prepared.item;
    EXPECT_NE(item.sendPath, path);
    EXPECT_EQ(item.title, PhotoTitle(path));
    EXPECT_EQ(item.DisplayedWidth(), int32_t(c.width));
    EXPECT_EQ(item.DisplayedHeight(), int32_t(c.height));
    const std::optional<std::vector<uint8_t>> sent = ReadFileBytes(item.sendPath);
    ASSERT_TRUE(sent);
    const std::optional<PixelBuffer> copy = DecodeJpeg(*sent);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->width, c.width);
    EXPECT_EQ(copy->height, c.height);
    EXPECT_TRUE(c.corner(copy->At(2, 2)));
    EXPECT_TRUE(IsGreen(copy->At(c.width - 3, 2)));
    test::ExpectUprightMetadata(*sent, c.width, c.height);
    EXPECT_EQ(IccProfileOf(*sent), c.codePointsOnly ? *madeProfile : *profile);
  }
}

// Text named as a HEIC, and headers claiming more than 16384 x 16384 pixels (passed over before
// any decoder runs).
TEST_F(HeifWebpAdd, WhatIsNoPictureOrTooLargeIsPassedOver) {
  for (const wchar_t* name : {L"text.heic", L"heic-huge.heic", L"webp-huge.webp"}) {
    const PreparedPhoto prepared = PreparePhoto(dir + name, 1024, 1);
    EXPECT_EQ(prepared.outcome, PreparedPhoto::Outcome::kNotAPicture) << std::string(name, name + wcslen(name));
    EXPECT_TRUE(prepared.copy.path().empty()) << "no working copy is written";
  }
}

}  // namespace
}  // namespace fernwick
