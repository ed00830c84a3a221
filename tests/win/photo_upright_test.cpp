// Photos stored turned or mirrored (the eight EXIF orientations) are added upright: the
// thumbnail, the size, the frame and the working copy, which keeps the photo's metadata with
// orientation 1. A turn at upload moves the JPEG's blocks without decoding them.
#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <string>

#include "base/work_directories.h"
#include "imaging/add_photos.h"
#include "imaging/file_bytes.h"
#include "imaging/jpeg_transform.h"
#include "imaging/photo_item.h"
#include "imaging/working_copies.h"
#include "support/exif_photos.h"
#include "support/photo_test_pictures.h"
#include "support/test_files.h"

namespace fernwick {
namespace {

class PhotoUpright : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ResetWorkDirectories();
    dir = test::FreshDirectory(L"upright");
  }
  std::wstring Write(const std::wstring& name, const std::vector<uint8_t>& jpeg) {
    const std::wstring path = dir + name;
    EXPECT_TRUE(!jpeg.empty() && WriteFileBytes(path, jpeg)) << path;
    return path;
  }

  std::wstring dir;
  test::HostedView host{600, 400};
  PhotoList& photos = host.photos;
};

bool ThumbnailCornerIsRed(const PhotoItem& item) {
  Gdiplus::ARGB colour = 0;
  if (!item.thumbnail ||
      Gdiplus::DllExports::GdipBitmapGetPixel(test::ThumbnailPicture(item).get(), 1, 1, &colour) != Gdiplus::Ok) {
    return false;
  }
  const uint8_t bgr[3] = {uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16)};
  return test::IsRed(bgr);
}

struct SizeCase {
  uint32_t width, height;  // as taken
  int32_t limit;
  uint32_t copyWidth, copyHeight;
};

TEST_F(PhotoUpright, EveryOrientationIsAddedUprightWithItsMetadata) {
  const SizeCase sizes[] = {
      {64, 48, 1024, 64, 48},    // whole blocks: made upright without decoding
      {72, 50, 1024, 72, 50},    // partial edge blocks: decoded, turned and encoded
      {160, 120, 100, 100, 75},  // over the limit: scaled
  };
  for (const SizeCase& size : sizes) {
    for (uint16_t orientation = 1; orientation <= 8; ++orientation) {
      SCOPED_TRACE(testing::Message() << size.width << " x " << size.height << ", orientation " << orientation);
      const std::wstring path = Write(std::to_wstring(size.width) + L"_" + std::to_wstring(orientation) + L".jpg",
                                      test::PhotoJpeg(test::Scene(size.width, size.height), orientation));
      ASSERT_TRUE(AddPhoto(photos, path, size.limit));
      const PhotoItem& item = *photos.SlotAt(photos.Count() - 1);
      EXPECT_EQ(item.DisplayedWidth(), int32_t(size.copyWidth));
      EXPECT_EQ(item.DisplayedHeight(), int32_t(size.copyHeight));
      EXPECT_EQ(item.frameRect.right - item.frameRect.left, CentredFrame(item.width, item.height, item.thumbScale).right * 2);
      EXPECT_GT(item.frameRect.right - item.frameRect.left, item.frameRect.bottom - item.frameRect.top);
      EXPECT_TRUE(ThumbnailCornerIsRed(item));

      const bool ownFile = orientation == 1 && size.copyWidth == size.width;
      EXPECT_EQ(item.sendPath == path, ownFile);
      const std::optional<std::vector<uint8_t>> sent = ReadFileBytes(item.sendPath);
      ASSERT_TRUE(sent);
      EXPECT_EQ(item.fileSize, int32_t(sent->size()));
      if (ownFile) continue;
      const std::optional<PixelBuffer> copy = DecodeJpeg(*sent);
      ASSERT_TRUE(copy);
      EXPECT_EQ(copy->width, size.copyWidth);
      EXPECT_EQ(copy->height, size.copyHeight);
      EXPECT_TRUE(test::IsRed(copy->At(1, 1)));
      test::ExpectUprightMetadata(*sent, size.copyWidth, size.copyHeight);
    }
  }
}

TEST_F(PhotoUpright, ATurnAtUploadMovesTheBlocksWithoutDecoding) {
  const std::vector<uint8_t> original = test::PhotoJpeg(test::Scene(64, 48, true), 1);
  const std::wstring path = Write(L"grain.jpg", original);
  const std::optional<PixelBuffer> blocks = DecodeJpeg(original, 3, 8);
  const std::optional<PixelBuffer> pixels = DecodeJpeg(original);
  ASSERT_TRUE(blocks && pixels);
  const struct {
    int quarters;
    bool clockwise;
    PixelTransform turn, back;
  } cases[] = {
      {1, true, PixelTransform::kRotate90, PixelTransform::kRotate270},
      {2, true, PixelTransform::kRotate180, PixelTransform::kRotate180},
      {1, false, PixelTransform::kRotate270, PixelTransform::kRotate90},
  };
  int32_t number = 1001;
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.turn));
    PhotoItem item(path);
    for (int i = 0; i < c.quarters; ++i) item.TurnQuarter(c.clockwise);
    const RotatedCopy written = WriteRotatedCopy(item.sendPath, item.angle, number++);
    ASSERT_TRUE(written.written);
    ApplyRotatedCopy(item, written);
    EXPECT_EQ(item.sendPath, written.path);
    const std::optional<std::vector<uint8_t>> turned = ReadFileBytes(written.path);
    ASSERT_TRUE(turned);
    const std::optional<PixelBuffer> turnedBlocks = DecodeJpeg(*turned, 3, 8);
    ASSERT_TRUE(turnedBlocks);
    EXPECT_TRUE(test::SamePixels(*turnedBlocks, TransformPixels(*blocks, c.turn)));
    // Turned back without decoding, the copy decodes to exactly the original's pixels: the
    // coefficients were moved, never recomputed.
    const std::optional<std::vector<uint8_t>> back = TransformJpeg(*turned, c.back, {});
    ASSERT_TRUE(back);
    const std::optional<PixelBuffer> backPixels = DecodeJpeg(*back);
    ASSERT_TRUE(backPixels);
    EXPECT_TRUE(test::SamePixels(*backPixels, *pixels));
  }
}

// An RGB TIFF of the pixels, one strip, with its orientation and an ICC colour profile.
std::vector<uint8_t> TiffFile(const PixelBuffer& pixels, uint16_t orientation, const std::vector<uint8_t>& profile) {
  const test::TiffBuilder b(false);
  using E = test::TiffBuilder::Entry;
  std::vector<uint8_t> rgb;
  for (uint32_t y = 0; y < pixels.height; ++y) {
    for (uint32_t x = 0; x < pixels.width; ++x) rgb.insert(rgb.end(), {pixels.At(x, y)[2], pixels.At(x, y)[1], pixels.At(x, y)[0]});
  }
  std::vector<E> ifd = {
      {256, 4, 1, b.U32(pixels.width)},       {257, 4, 1, b.U32(pixels.height)}, {258, 3, 3, {8, 0, 8, 0, 8, 0}},
      {259, 3, 1, b.U16(1)},                  {262, 3, 1, b.U16(2)},             {273, 4, 1, b.U32(0)},
      {274, 3, 1, b.U16(orientation)},        {277, 3, 1, b.U16(3)},             {278, 4, 1, b.U32(pixels.height)},
      {279, 4, 1, b.U32(uint32_t(rgb.size()))}, {34675, 7, uint32_t(profile.size()), profile},
  };
  ifd[5].value = b.U32(uint32_t(8 + test::TiffBuilder::Size(ifd)));  // the strip follows the directory
  std::vector<uint8_t> file = {'I', 'I', 42, 0, 8, 0, 0, 0};
  b.Write(file, ifd, 0);
  test::TiffBuilder::Append(file, rgb);
  return file;
}

// The smallest profile a reader takes: a header that says display, RGB, XYZ, and no tags.
std::vector<uint8_t> DisplayProfile() {
  std::vector<uint8_t> profile(132, 0);
  const auto put = [&](size_t at, const char* text) { std::copy(text, text + 4, profile.begin() + at); };
  profile[3] = 132;
  profile[8] = 2, profile[9] = 0x10;
  put(12, "mntr"), put(16, "RGB "), put(20, "XYZ "), put(36, "acsp");
  return profile;
}

TEST_F(PhotoUpright, ATiffStoredOnItsSideStandsUprightAndKeepsItsColourProfile) {
  const PixelBuffer stored = TransformPixels(test::Scene(64, 48), test::StoringTransform(6));
  const std::vector<uint8_t> profile = DisplayProfile();
  ASSERT_TRUE(AddPhoto(photos, Write(L"side.tif", TiffFile(stored, 6, profile)), 1024));
  const std::optional<std::vector<uint8_t>> sent = ReadFileBytes(photos.SlotAt(0)->sendPath);
  ASSERT_TRUE(sent);
  const std::optional<PixelBuffer> copy = DecodeJpeg(*sent);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->width, 64u);
  EXPECT_TRUE(test::IsRed(copy->At(1, 1)));
  std::vector<AppSegment> kept;
  for (const JpegSegment& s : ReadJpegSegments(*sent)) {
    if (s.marker == 0xE2) kept.push_back({s.marker, {s.payload.begin(), s.payload.end()}});
  }
  EXPECT_EQ(kept, IccProfileSegments(profile));
}

}  // namespace
}  // namespace fernwick
