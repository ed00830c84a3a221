// Working copies decoded and checked: scaled sizes, conversions, names and numbering, rotated
// copies really turned; the photo item's picture, frame and drawing.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "base/work_directories.h"
#include "imaging/add_photos.h"
#include "imaging/jpeg_library.h"
#include "imaging/photo_item.h"
#include "imaging/picture_io.h"
#include "imaging/upright_copies.h"
#include "imaging/working_copies.h"
#include "support/photo_test_pictures.h"
#include "support/picture_copies.h"

namespace fernwick {
namespace {

using test::ReEncodeAsJpeg;
using test::ScaleToLimit;

using namespace Gdiplus;
using namespace Gdiplus::DllExports;
using test::QuadrantsOf;

class PhotoImaging : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ResetWorkDirectories();
    dir = test::FreshDirectory(L"imaging");
  }
  std::wstring dir;
};

TEST_F(PhotoImaging, FindsTheJpegEncoder) {
  const std::optional<CLSID> encoder = FindJpegEncoder();
  ASSERT_TRUE(encoder.has_value());
  // The encoder must really write a JPEG: the file starts with the SOI marker.
  GpBitmapPtr picture = test::MakeQuadrantPicture(16, 16);
  ASSERT_TRUE(SaveJpegWithQuality(picture.get(), dir + L"probe.jpg"));
  UniqueFile file(::CreateFileW((dir + L"probe.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  unsigned char head[2] = {};
  DWORD read = 0;
  ::ReadFile(file.get(), head, 2, &read, nullptr);
  EXPECT_EQ(head[0], 0xFF);
  EXPECT_EQ(head[1], 0xD8);
}

// The quantisation tables of a JPEG file (DQT segments up to the scan), each as stored: 64
// values in zigzag order.
std::vector<std::vector<int>> QuantisationTables(const std::string& jpeg) {
  std::vector<std::vector<int>> tables;
  const auto byte = [&](size_t at) { return at < jpeg.size() ? static_cast<unsigned char>(jpeg[at]) : 0; };
  for (size_t at = 2; at + 4 <= jpeg.size() && byte(at) == 0xFF && byte(at + 1) != 0xDA;) {
    const size_t length = static_cast<size_t>(byte(at + 2) << 8 | byte(at + 3));
    if (byte(at + 1) == 0xDB) {
      for (size_t table = at + 4; table < at + 2 + length;) {
        const bool wide = (byte(table) >> 4) != 0;
        std::vector<int> values;
        for (size_t i = 0; i < 64; ++i) {
          values.push_back(wide ? byte(table + 1 + 2 * i) << 8 | byte(table + 2 + 2 * i) : byte(table + 1 + i));
        }
        tables.push_back(values);
        table += 1 + (wide ? 128 : 64);
      }
    }
    at += 2 + length;
  }
  return tables;
}

// The example tables of the JPEG standard (Annex K), in zigzag order, scaled as encoders scale
// them for a quality: factor 200 - 2 x quality percent from quality 50 up.
std::vector<int> StandardTable(bool chrominance, int quality) {
  static const int kLuminance[64] = {16, 11, 12, 14, 12, 10, 16, 14, 13, 14, 18, 17, 16, 19, 24, 40,
                                     26, 24, 22, 22, 24, 49, 35, 37, 29, 40, 58, 51, 61, 60, 57, 51,
                                     56, 55, 64, 72, 92, 78, 64, 68, 87, 69, 55, 56, 80, 109, 81, 87,
                                     95, 98, 103, 104, 103, 62, 77, 113, 121, 112, 100, 120, 92, 101, 103, 99};
  static const int kChrominance[64] = {17, 18, 18, 24, 21, 24, 47, 26, 26, 47, 99, 66, 56, 66, 99, 99,
                                       99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                       99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                       99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
  const int scale = 200 - 2 * quality;
  std::vector<int> table;
  const int* base = chrominance ? kChrominance : kLuminance;
  for (int i = 0; i < 64; ++i) table.push_back(std::clamp((base[i] * scale + 50) / 100, 1, 255));
  return table;
}

TEST_F(PhotoImaging, WorkingCopiesAreWrittenAtQuality90) {
  GpBitmapPtr large = test::MakeQuadrantPicture(1600, 1200);
  GpBitmapPtr small = test::MakeQuadrantPicture(64, 48);
  const WorkingCopy scaled = ScaleToLimit(large.get(), 1024, 1001);
  const WorkingCopy converted = ReEncodeAsJpeg(small.get(), 1002);
  const std::vector<std::vector<int>> quality90 = {StandardTable(false, 90), StandardTable(true, 90)};
  ASSERT_NE(quality90[0], StandardTable(false, 75)) << "the tables tell the qualities apart";
  // Some GDI+ implementations (Wine's) ignore the quality parameter and always write their
  // default tables; then no quality the program asks for can show in the file.
  ASSERT_TRUE(SaveJpegWithQuality(small.get(), dir + L"q30.jpg", 30));
  ASSERT_TRUE(SaveJpegWithQuality(small.get(), dir + L"q100.jpg", 100));
  if (QuantisationTables(test::ReadBytes(dir + L"q30.jpg")) == QuantisationTables(test::ReadBytes(dir + L"q100.jpg"))) {
    GTEST_SKIP() << "this system's JPEG encoder ignores the quality parameter";
  }
  for (const WorkingCopy& copy : {scaled, converted}) {
    ASSERT_TRUE(copy.written) << copy.path;
    EXPECT_EQ(QuantisationTables(test::ReadBytes(copy.path)), quality90) << copy.path;
  }
}

// Colour halved to one value per 2 x 2 blurs a shrunk photo's fine coloured detail more than
// the shrinking does.
TEST_F(PhotoImaging, WorkingCopiesKeepTheColourAtEveryPixel) {
  GpBitmapPtr large = test::MakeQuadrantPicture(1600, 1200);
  const std::string bytes = test::ReadBytes(ScaleToLimit(large.get(), 1024, 1001).path);
  JpegReader reader;
  ASSERT_TRUE(reader.ReadHeader({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}));
  EXPECT_EQ(reader.info().comp_info[0].h_samp_factor * reader.info().comp_info[0].v_samp_factor, 1);
}

TEST_F(PhotoImaging, ScaledCopiesHaveTheLimitOnTheLongerSide) {
  struct Case {
    int width, height, limit;
    uint32_t newWidth, newHeight;
  };
  const Case cases[] = {
      {4000, 3000, 1024, 1024, 768}, {3000, 4000, 1024, 768, 1024},  {2000, 2000, 800, 800, 800},
      {1000, 999, 800, 800, 799},    {1280, 1281, 1280, 1279, 1280}, {1601, 1200, 1600, 1600, 1199},
      {1600, 1200, 1280, 1280, 960}, {1025, 1, 1024, 1024, 1},       {2, 900, 800, 1, 800},
  };
  int32_t number = 1001;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " @" << c.limit);
    GpBitmapPtr source = test::MakeQuadrantPicture(c.width, c.height);
    const WorkingCopy copy = ScaleToLimit(source.get(), c.limit, number);
    EXPECT_EQ(copy.path, ScaledCopiesDirectory() + std::to_wstring(number) + L".jpg");
    ASSERT_TRUE(copy.written);
    EXPECT_EQ(copy.size, static_cast<int32_t>(FileSizeOf(copy.path)));
    EXPECT_GT(copy.size, 0);
    GpBitmapPtr decoded = DecodePicture(copy.path);
    EXPECT_EQ(PictureWidth(decoded.get()), c.newWidth);
    EXPECT_EQ(PictureHeight(decoded.get()), c.newHeight);
    if (c.newWidth >= 8 && c.newHeight >= 8) {
      EXPECT_EQ(QuadrantsOf(decoded.get()), (std::vector<int>{0, 1, 2, 3}));
    }
    ++number;
  }
}

TEST_F(PhotoImaging, ReEncodedCopyKeepsSizeAndPicture) {
  GpBitmapPtr source = test::MakeQuadrantPicture(500, 400);
  const WorkingCopy copy = ReEncodeAsJpeg(source.get(), 1007);
  EXPECT_EQ(copy.path, ScaledCopiesDirectory() + L"1007.jpg");
  ASSERT_TRUE(copy.written);
  GpBitmapPtr decoded = DecodePicture(copy.path);
  EXPECT_EQ(PictureWidth(decoded.get()), 500u);
  EXPECT_EQ(PictureHeight(decoded.get()), 400u);
  EXPECT_EQ(QuadrantsOf(decoded.get()), (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(PhotoImaging, MissingWorkDirectoryGivesTheNameWithSizeZero) {
  test::RemoveDirectoryTree(ScaledCopiesDirectory());
  GpBitmapPtr source = test::MakeQuadrantPicture(2000, 1000);
  const WorkingCopy scaled = ScaleToLimit(source.get(), 1024, 1001);
  EXPECT_EQ(scaled.path, ScaledCopiesDirectory() + L"1001.jpg");
  EXPECT_FALSE(scaled.written);
  EXPECT_EQ(scaled.size, 0);
  const WorkingCopy converted = ReEncodeAsJpeg(source.get(), 1002);
  EXPECT_FALSE(converted.written);
  EXPECT_EQ(converted.size, 0);
  EXPECT_FALSE(test::FileExists(converted.path));
}

TEST_F(PhotoImaging, StaleReadOnlyFileAtTheNameIsNotTakenForTheCopy) {
  const std::wstring stale = ScaledCopiesDirectory() + L"1001.jpg";
  ASSERT_TRUE(test::WriteQuadrantPicture(stale, 40, 40, "jpg"));
  ::SetFileAttributesW(stale.c_str(), FILE_ATTRIBUTE_READONLY);
  GpBitmapPtr source = test::MakeQuadrantPicture(2000, 1000);
  const WorkingCopy copy = ScaleToLimit(source.get(), 1024, 1001);
  // Either the stale file could not be replaced, and then nothing counts as written, or it
  // was, and then the file is the new copy: never the old picture under the new name.
  if (copy.written) {
    GpBitmapPtr decoded = DecodePicture(copy.path);
    EXPECT_EQ(PictureWidth(decoded.get()), 1024u);
    EXPECT_EQ(PictureHeight(decoded.get()), 512u);
  } else {
    EXPECT_EQ(copy.size, 0);
  }
  ::SetFileAttributesW(stale.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(PhotoImaging, ItemFromAPicture) {
  ASSERT_TRUE(test::WriteQuadrantPicture(dir + L"wide.png", 2000, 1000, "png"));
  PhotoItem item(dir + L"wide.png");
  EXPECT_EQ(item.sendPath, dir + L"wide.png");
  EXPECT_EQ(item.width, 2000);
  EXPECT_EQ(item.height, 1000);
  EXPECT_DOUBLE_EQ(item.thumbScale, 0.05);
  EXPECT_EQ(item.frameRect, (FrameRect{-50, -25, 50, 25}));
  EXPECT_EQ(item.angle, 0);
  EXPECT_FALSE(item.selected);
  EXPECT_EQ(item.fileSize, 0);
  EXPECT_TRUE(item.title.empty());
  EXPECT_TRUE(item.sourcePath.empty());
  // Only a thumbnail is kept.
  ASSERT_TRUE(item.thumbnail);
  EXPECT_EQ(PictureWidth(test::ThumbnailPicture(item).get()), 100u);
  EXPECT_EQ(PictureHeight(test::ThumbnailPicture(item).get()), 50u);
  EXPECT_EQ(QuadrantsOf(test::ThumbnailPicture(item).get()), (std::vector<int>{0, 1, 2, 3}));
}

// An item made from the pixels a copy was encoded from shows what one decoded from the copy
// shows: same size, same scale, a thumbnail that differs only by the JPEG encoding's error.
// Both items have the same size and scale, and thumbnails alike but along sharp edges (a JPEG
// encoding's ringing stands there), where no value differs by more than `worstEdge`.
void ExpectLooksAlike(const PhotoItem& item, const PhotoItem& reference, int worstEdge = 48) {
  EXPECT_EQ(item.width, reference.width);
  EXPECT_EQ(item.height, reference.height);
  EXPECT_DOUBLE_EQ(item.thumbScale, reference.thumbScale);
  const GpBitmapPtr itemThumbnail = test::ThumbnailPicture(item);
  const GpBitmapPtr referenceThumbnail = test::ThumbnailPicture(reference);
  const uint32_t w = PictureWidth(itemThumbnail.get()), h = PictureHeight(itemThumbnail.get());
  ASSERT_EQ(w, PictureWidth(referenceThumbnail.get()));
  ASSERT_EQ(h, PictureHeight(referenceThumbnail.get()));
  int worst = 0;
  double total = 0;
  for (uint32_t y = 0; y < h; ++y) {
    for (uint32_t x = 0; x < w; ++x) {
      Gdiplus::ARGB a = 0, b = 0;
      Gdiplus::DllExports::GdipBitmapGetPixel(itemThumbnail.get(), static_cast<INT>(x), static_cast<INT>(y), &a);
      Gdiplus::DllExports::GdipBitmapGetPixel(referenceThumbnail.get(), static_cast<INT>(x), static_cast<INT>(y), &b);
      for (int shift = 0; shift <= 24; shift += 8) {
        const int difference = std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        worst = std::max(worst, difference);
        total += difference;
      }
    }
  }
  EXPECT_LE(worst, worstEdge);
  EXPECT_LE(total / (w * h * 4), 1.5);
}

TEST_F(PhotoImaging, ItemFromPixelsLooksAsFromItsFile) {
  ASSERT_TRUE(test::WriteQuadrantPicture(dir + L"big.jpg", 2000, 1500, "jpg"));
  const std::string original = test::ReadBytes(dir + L"big.jpg");
  const std::optional<UprightCopy> copy = UprightCopyWithPixels(
      {reinterpret_cast<const uint8_t*>(original.data()), original.size()}, 90, 1024);
  ASSERT_TRUE(copy);
  ASSERT_TRUE(test::WriteBytes(dir + L"copy.jpg", std::string(copy->jpeg.begin(), copy->jpeg.end())));
  const PhotoItem fromPixels(dir + L"copy.jpg", copy->pixels);
  EXPECT_EQ(fromPixels.width, 768);
  EXPECT_EQ(fromPixels.height, 1024);
  ExpectLooksAlike(fromPixels, PhotoItem(dir + L"copy.jpg"));
  EXPECT_EQ(QuadrantsOf(test::ThumbnailPicture(fromPixels).get()), (std::vector<int>{2, 0, 3, 1}));  // turned clockwise
}

// Its thumbnail comes from a decode the library shrinks, not from GDI+'s full one: an edge
// between two colours may fall a quarter of a pixel apart.
TEST_F(PhotoImaging, AJpegSentAsItIsLooksAsFromItsFullDecode) {
  ASSERT_TRUE(test::WriteQuadrantPicture(dir + L"small.jpg", 640, 480, "jpg"));
  const PreparedPhoto prepared = PreparePhoto(dir + L"small.jpg", 1024, 1001, kThumbnailBox);
  ASSERT_TRUE(prepared.item);
  EXPECT_EQ(prepared.item->sendPath, dir + L"small.jpg");
  ExpectLooksAlike(*prepared.item, PhotoItem(dir + L"small.jpg"), 64);
}

TEST_F(PhotoImaging, ItemFromUndecodableOrMissingFiles) {
  test::WriteBytes(dir + L"text.jpg", "not a picture at all");
  test::WriteBytes(dir + L"empty.jpg", "");
  for (const std::wstring& path : {dir + L"text.jpg", dir + L"empty.jpg", dir + L"missing.jpg", dir}) {
    PhotoItem item(path);
    EXPECT_EQ(item.width, 0) << path;
    EXPECT_EQ(item.height, 0);
    EXPECT_DOUBLE_EQ(item.thumbScale, 1.0);
    EXPECT_EQ(item.frameRect, FrameRect{});
    EXPECT_FALSE(item.thumbnail);
  }
}

struct TurnCase {
  int turns;  // positive clockwise
  uint32_t width, height;
  std::vector<int> quadrants;
};

TEST_F(PhotoImaging, RotatedCopiesAreReallyTurned) {
  // Quadrants before: red, green / blue, yellow.
  const TurnCase cases[] = {
      {1, 48, 64, {2, 0, 3, 1}},  {2, 64, 48, {3, 2, 1, 0}},  {3, 48, 64, {1, 3, 0, 2}},
      {-1, 48, 64, {1, 3, 0, 2}}, {-2, 64, 48, {3, 2, 1, 0}}, {-3, 48, 64, {2, 0, 3, 1}},
  };
  int32_t number = 1002;
  for (const TurnCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "turns " << c.turns);
    const std::wstring source = dir + L"turn" + std::to_wstring(number) + L".jpg";
    ASSERT_TRUE(test::WriteQuadrantPicture(source, 64, 48, "jpg"));
    PhotoItem item(source);
    for (int i = 0; i < std::abs(c.turns); ++i) item.TurnQuarter(c.turns > 0);
    const FrameRect turnedFrame = item.frameRect;
    const RotatedCopy written = WriteRotatedCopy(item.sendPath, item.angle, number);
    EXPECT_TRUE(written.written);
    ApplyRotatedCopy(item, written);
    EXPECT_EQ(item.sendPath, RotatedCopiesDirectory() + std::to_wstring(number) + L".jpg");
    EXPECT_EQ(item.angle, 0);
    EXPECT_EQ(static_cast<uint32_t>(item.width), c.width);
    EXPECT_EQ(static_cast<uint32_t>(item.height), c.height);
    EXPECT_EQ(item.frameRect, turnedFrame);
    GpBitmapPtr copy = DecodePicture(item.sendPath);
    EXPECT_EQ(PictureWidth(copy.get()), c.width);
    EXPECT_EQ(PictureHeight(copy.get()), c.height);
    EXPECT_EQ(QuadrantsOf(copy.get()), c.quadrants);
    // The thumbnail shows the same turned picture.
    EXPECT_EQ(QuadrantsOf(test::ThumbnailPicture(item).get()), c.quadrants);
    ++number;
  }
}

TEST_F(PhotoImaging, UnturnedItemGetsNoRotatedCopy) {
  ASSERT_TRUE(test::WriteQuadrantPicture(dir + L"a.jpg", 64, 48, "jpg"));
  PhotoItem item(dir + L"a.jpg");
  item.TurnQuarter(true);
  item.TurnQuarter(false);
  const RotatedCopy copy = WriteRotatedCopy(item.sendPath, item.angle, 1001);
  EXPECT_FALSE(copy.written);
  EXPECT_EQ(copy.degrees, 0);
  ApplyRotatedCopy(item, copy);
  EXPECT_EQ(item.sendPath, dir + L"a.jpg");
  EXPECT_FALSE(test::FileExists(RotatedCopiesDirectory() + L"1001.jpg"));
}

TEST_F(PhotoImaging, RotatedCopyOfAVanishedFileLeavesTheItemAsItWas) {
  ASSERT_TRUE(test::WriteQuadrantPicture(dir + L"gone.jpg", 64, 48, "jpg"));
  PhotoItem item(dir + L"gone.jpg");
  item.TurnQuarter(true);
  const double turned = item.angle;
  const FrameRect turnedFrame = item.frameRect;
  const std::vector<int> thumbnail = QuadrantsOf(test::ThumbnailPicture(item).get());
  ::DeleteFileW((dir + L"gone.jpg").c_str());
  const RotatedCopy copy = WriteRotatedCopy(item.sendPath, item.angle, 1003);
  EXPECT_FALSE(copy.written);
  EXPECT_EQ(copy.path, RotatedCopiesDirectory() + L"1003.jpg");
  ApplyRotatedCopy(item, copy);
  EXPECT_EQ(item.sendPath, dir + L"gone.jpg");
  EXPECT_EQ(item.width, 64);
  EXPECT_EQ(item.height, 48);
  EXPECT_EQ(item.angle, turned);
  EXPECT_NE(item.angle, 0);
  EXPECT_EQ(item.frameRect, turnedFrame);
  EXPECT_EQ(QuadrantsOf(test::ThumbnailPicture(item).get()), thumbnail);
  EXPECT_FALSE(test::FileExists(RotatedCopiesDirectory() + L"1003.jpg"));
}

TEST_F(PhotoImaging, TransformationProbeAgreesWithTheEncoder) {
  // Whatever this system's encoder does with the parameter, the probe must say so: a copy
  // saved with the parameter alone is turned exactly when the probe says it is.
  GpBitmapPtr source = test::MakeQuadrantPicture(64, 48);
  ASSERT_TRUE(SaveJpegWithTransformation(source.get(), dir + L"t.jpg", 13));
  GpBitmapPtr saved = DecodePicture(dir + L"t.jpg");
  EXPECT_EQ(EncoderAppliesTransformation(13), PictureWidth(saved.get()) == 48u);
}

// Draws an item into a memory bitmap the size of one cell and reads pixels back.
class CellCanvas {
 public:
  CellCanvas() : screen_(nullptr) {
    memory_.reset(::CreateCompatibleDC(screen_.get()));
    bitmap_.reset(::CreateCompatibleBitmap(screen_.get(), 240, 240));
    select_ = std::make_unique<SelectScope>(memory_.get(), bitmap_.get());
    RECT all{0, 0, 240, 240};
    ::FillRect(memory_.get(), &all, ::GetSysColorBrush(COLOR_WINDOW));
  }
  HDC dc() const { return memory_.get(); }
  COLORREF at(int x, int y) const { return ::GetPixel(memory_.get(), x, y); }

 private:
  WindowDc screen_;
  UniqueMemoryDc memory_;
  UniqueHBitmap bitmap_;
  std::unique_ptr<SelectScope> select_;
};

bool Near(COLORREF colour, COLORREF want) {
  return std::abs(GetRValue(colour) - GetRValue(want)) < 40 && std::abs(GetGValue(colour) - GetGValue(want)) < 40 &&
         std::abs(GetBValue(colour) - GetBValue(want)) < 40;
}

TEST_F(PhotoImaging, DrawInCellShowsThePictureTurnedWithItsFrame) {
  GpBitmapPtr source = test::MakeQuadrantPicture(2000, 1000);
  PhotoItem item(L"memory", source.get());
  item.MoveCentreTo(65, 70);  // box 15..115 x 45..95
  CellCanvas canvas;
  item.DrawInCell(canvas.dc());
  EXPECT_TRUE(Near(canvas.at(40, 57), RGB(255, 0, 0)));
  EXPECT_TRUE(Near(canvas.at(90, 57), RGB(0, 192, 0)));
  EXPECT_TRUE(Near(canvas.at(40, 83), RGB(0, 0, 255)));
  EXPECT_TRUE(Near(canvas.at(90, 83), RGB(255, 255, 0)));
  // Frame 4 pixels out, one pixel wide, button face when not selected; window colour inside it.
  EXPECT_EQ(canvas.at(11, 70), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(canvas.at(65, 41), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(canvas.at(118, 70), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(canvas.at(12, 70), ::GetSysColor(COLOR_WINDOW));

  CellCanvas turned;
  item.selected = true;
  item.TurnQuarter(true);  // box 40..90 x 20..120; red moves to the top right
  item.DrawInCell(turned.dc());
  EXPECT_TRUE(Near(turned.at(77, 45), RGB(255, 0, 0)));
  EXPECT_TRUE(Near(turned.at(52, 45), RGB(0, 0, 255)));
  EXPECT_TRUE(Near(turned.at(77, 95), RGB(0, 192, 0)));
  EXPECT_EQ(turned.at(36, 70), kSelectedFrameColour);
  EXPECT_EQ(turned.at(65, 16), kSelectedFrameColour);
  EXPECT_EQ(turned.at(65, 123), kSelectedFrameColour);
}

TEST_F(PhotoImaging, DrawInCellOfAnUndecodedItemShowsOnlyAnEightPixelFrame) {
  PhotoItem item(dir + L"missing.jpg");
  item.MoveCentreTo(65, 70);
  CellCanvas canvas;
  item.DrawInCell(canvas.dc());
  EXPECT_EQ(canvas.at(61, 66), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(canvas.at(68, 69), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(canvas.at(65, 70), ::GetSysColor(COLOR_WINDOW));
}

TEST_F(PhotoImaging, DrawFittedOutlinesTheUnturnedPicture) {
  GpBitmapPtr source = test::MakeQuadrantPicture(1000, 2000);
  PhotoItem item(L"memory", source.get());
  item.TurnQuarter(true);  // not shown by the outline
  CellCanvas canvas;
  SelectScope pen(canvas.dc(), ::GetStockObject(BLACK_PEN));
  SelectScope brush(canvas.dc(), ::GetStockObject(WHITE_BRUSH));
  item.DrawFitted(canvas.dc(), 120, 70, 100);  // outline 90..150 x 15..125
  // The turned picture (70..170 x 45..95) lies over the middle of the outline's sides.
  EXPECT_EQ(canvas.at(90, 30), RGB(0, 0, 0));
  EXPECT_EQ(canvas.at(149, 30), RGB(0, 0, 0));
  EXPECT_EQ(canvas.at(120, 15), RGB(0, 0, 0));
  EXPECT_EQ(canvas.at(120, 124), RGB(0, 0, 0));
  EXPECT_EQ(canvas.at(92, 30), RGB(255, 255, 255));
  EXPECT_EQ(canvas.at(89, 30), ::GetSysColor(COLOR_WINDOW));
  // The picture itself is turned by the angle: red, at the top left, goes to the top right.
  EXPECT_TRUE(Near(canvas.at(135, 60), RGB(255, 0, 0)));
}

}  // namespace
}  // namespace fernwick
