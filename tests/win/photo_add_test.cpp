// Adding photos: the add routine's rules, the open dialog's settings and result, dropped
// files, and bad input of every kind.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

#include "base/handles.h"
#include "base/program_state.h"
#include "base/prompt.h"
#include "base/work_directories.h"
#include "imaging/add_photos.h"
#include "imaging/core/jpeg_segments.h"
#include "imaging/picture_io.h"
#include "imaging/picture_paths.h"
#include "imaging/picture_walk.h"
#include "imaging/preparation_report.h"
#include "support/dialog_add.h"
#include "support/exif_photos.h"
#include "support/photo_test_pictures.h"
#include "support/shell_drop.h"
#include "support/window_helpers.h"

namespace fernwick {
namespace {

using test::AddPhotosWithDialog;

class PhotoAdd : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ResetWorkDirectories();
    dir = test::FreshDirectory(L"add");
    SetSizeLimit(1024);
  }
  void TearDown() override { SetSizeLimit(1024); }

  std::wstring Picture(const std::wstring& name, int width, int height, const char* format) {
    const std::wstring path = dir + name;
    EXPECT_TRUE(test::WriteQuadrantPicture(path, width, height, format)) << path;
    return path;
  }

  std::wstring dir;
  test::HostedView host{600, 400};
  ThumbnailView& view = host.view;
  PhotoList& photos = host.photos;
};

TEST_F(PhotoAdd, JpegWithinTheLimitIsSentAsItIs) {
  const std::wstring path = Picture(L"beach.jpg", 640, 480, "jpg");
  ASSERT_TRUE(AddPhoto(photos, path, 1024));
  ASSERT_EQ(photos.Count(), 1u);
  const PhotoItem* item = photos.SlotAt(0);
  EXPECT_EQ(item->sendPath, path);
  EXPECT_EQ(item->sourcePath, path);
  EXPECT_EQ(item->title, L"beach");
  EXPECT_EQ(item->fileSize, static_cast<int32_t>(FileSizeOf(path)));
  EXPECT_EQ(item->width, 640);
  EXPECT_EQ(item->height, 480);
  EXPECT_TRUE(item->selected);
  EXPECT_EQ(photos.selection(), item);
  EXPECT_EQ(photos.TakeFileNumber(), 1001);  // no working copy took a number
  EXPECT_EQ(host.owner.calls, (std::vector<bool>{true}));
}

struct KindCase {
  const wchar_t* name;
  int width, height;
  const char* format;
  int32_t limit;
  bool copied;
  uint32_t copyWidth, copyHeight;
};

TEST_F(PhotoAdd, WhichPhotosGetWorkingCopies) {
  const KindCase cases[] = {
      {L"a.jpg", 1600, 1200, "jpg", 1600, false, 1600, 1200},
      {L"b.jpg", 1600, 1200, "jpg", 1280, true, 1280, 960},
      {L"c.bmp", 500, 400, "bmp", 800, true, 500, 400},
      {L"d.bmp", 500, 400, "bmp", 1600, true, 500, 400},
      {L"e.PNG", 300, 200, "png", 1024, true, 300, 200},
      {L"f.gif", 300, 200, "gif", 1024, true, 300, 200},
      {L"g.tif", 300, 200, "tif", 1024, true, 300, 200},
      {L"h.tiff", 300, 200, "tif", 1024, true, 300, 200},
      {L"i.jpe", 300, 200, "jpg", 1024, false, 300, 200},
      {L"j.jpeg", 3000, 4000, "jpg", 1024, true, 768, 1024},
      {L"k.png", 2000, 2000, "png", 800, true, 800, 800},
      {L"l.dat", 300, 200, "png", 1024, false, 300, 200},  // decodable, other extension
  };
  int32_t number = 1001;
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring path = Picture(c.name, c.width, c.height, c.format);
    ASSERT_TRUE(AddPhoto(photos, path, c.limit));
    const PhotoItem* item = photos.SlotAt(photos.Count() - 1);
    if (c.copied) {
      EXPECT_EQ(item->sendPath, ScaledCopiesDirectory() + std::to_wstring(number) + L".jpg");
      EXPECT_EQ(item->fileSize, static_cast<int32_t>(FileSizeOf(item->sendPath)));
      ++number;
    } else {
      EXPECT_EQ(item->sendPath, path);
      EXPECT_EQ(item->fileSize, static_cast<int32_t>(FileSizeOf(path)));
    }
    EXPECT_GT(item->fileSize, 0);
    EXPECT_EQ(static_cast<uint32_t>(item->width), c.copyWidth);
    EXPECT_EQ(static_cast<uint32_t>(item->height), c.copyHeight);
    GpBitmapPtr sent = DecodePicture(item->sendPath);
    EXPECT_EQ(PictureWidth(sent.get()), c.copyWidth);
    EXPECT_EQ(test::QuadrantsOf(sent.get()), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(photos.selection(), item);
  }
  EXPECT_EQ(photos.Count(), std::size(cases));
  EXPECT_EQ(photos.TakeFileNumber(), number);  // only the copies took numbers
}

TEST_F(PhotoAdd, DuplicatesAreRefusedWithoutChangingTheSelection) {
  const std::wstring a = Picture(L"a.jpg", 64, 48, "jpg");
  const std::wstring b = Picture(L"b.jpg", 64, 48, "jpg");
  ASSERT_TRUE(AddPhoto(photos, a, 1024));
  ASSERT_TRUE(AddPhoto(photos, b, 1024));
  host.owner.calls.clear();
  EXPECT_FALSE(AddPhoto(photos, a, 1024));
  EXPECT_EQ(photos.Count(), 2u);
  EXPECT_EQ(photos.selection(), photos.SlotAt(1));
  EXPECT_FALSE(photos.SlotAt(0)->selected);
  EXPECT_TRUE(host.owner.calls.empty());
  // The same file under a differently cased path is the same photo, as Windows names it.
  std::wstring upper = a;
  for (wchar_t& ch : upper) ch = static_cast<wchar_t>(std::towupper(ch));
  ASSERT_NE(upper, a);
  EXPECT_FALSE(AddPhoto(photos, upper, 1024));
  EXPECT_EQ(photos.Count(), 2u);
  EXPECT_TRUE(photos.ContainsSourcePath(upper));
  EXPECT_TRUE(photos.ContainsSourcePath(a));
  EXPECT_FALSE(photos.ContainsSourcePath(dir + L"c.jpg"));
}

TEST_F(PhotoAdd, BadInputIsPassedOverAndNothingIsLost) {
  const std::wstring good = Picture(L"good.jpg", 64, 48, "jpg");
  ASSERT_TRUE(AddPhoto(photos, good, 1024));
  test::WriteBytes(dir + L"text.jpg", "this is not a picture");
  test::WriteBytes(dir + L"empty.png", "");
  test::WriteBytes(dir + L"cut.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  ::CreateDirectoryW((dir + L"folder.jpg").c_str(), nullptr);
  const std::wstring bad[] = {
      dir + L"text.jpg",    dir + L"empty.png", dir + L"cut.png", dir + L"missing.jpg", dir + L"folder.jpg", dir, L"",
      L"Z:\\nowhere\\x.jpg"};
  for (const std::wstring& path : bad) EXPECT_FALSE(AddPhoto(photos, path, 1024)) << path;
  EXPECT_EQ(photos.Count(), 1u);
  EXPECT_EQ(photos.SlotAt(0)->sourcePath, good);
  EXPECT_EQ(photos.selection(), photos.SlotAt(0));
  EXPECT_EQ(photos.TakeFileNumber(), 1001);
}

std::string ToString(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Makes the file `size` bytes long without writing the rest (sparse where the disk allows).
bool GrowSparse(const std::wstring& path, int64_t size) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER end{};
  end.QuadPart = size;
  return file && ::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.get());
}

// Damaged picture files never bring the program down. A JPEG cut short decodes as far as it goes,
// the rest grey, as the JPEG library has always given it; a file of any kind whose header claims
// a picture too large to hold in memory, or that cannot be read whole, or a JPEG with more scans
// than any camera writes, is passed over before any decoder sees it.
TEST_F(PhotoAdd, DamagedPictureFilesAreTakenAsFarAsTheyGoOrPassedOver) {
  const std::string whole = test::ReadBytes(Picture(L"whole.jpg", 2000, 1500, "jpg"));
  const size_t frame = whole.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  std::string huge = whole;
  huge.replace(frame + 5, 4, "\x75\x30\x75\x30");  // 30000 x 30000
  std::string scrambled = whole;
  for (size_t i = frame; i < scrambled.size(); i += 7) scrambled[i] = static_cast<char>(scrambled[i] ^ 0x5A);
  // The same small pixel data behind headers that claim 30000 x 30000 (GIF: 60000 x 60000).
  const std::string wholePng = test::ReadBytes(Picture(L"whole.png", 200, 150, "png"));
  std::string png = wholePng;
  png.replace(16, 8, std::string("\0\0\x75\x30\0\0\x75\x30", 8));
  std::string bmp = test::ReadBytes(Picture(L"whole.bmp", 200, 150, "bmp"));
  bmp.replace(18, 8, std::string("\x30\x75\0\0\xD0\x8A\xFF\xFF", 8));  // height -30000: top row first
  std::string gif = test::ReadBytes(Picture(L"whole.gif", 200, 150, "gif"));
  gif.replace(6, 4, "\x60\xEA\x60\xEA");
  // A TIFF claiming 30000 x 30000 whose first directory also holds a field of a type (99) that no
  // reader knows the size of.
  std::string tif = test::ReadBytes(Picture(L"whole.tif", 200, 150, "tif"));
  ASSERT_EQ(tif.substr(0, 2), "II");
  const auto u16 = [&](size_t at) { return static_cast<size_t>(uint8_t(tif[at]) | uint8_t(tif[at + 1]) << 8); };
  const size_t directory = u16(4) | u16(6) << 16;
  for (size_t i = 0, at = directory + 2; i < u16(directory); ++i, at += 12) {
    if (u16(at) == 256 || u16(at) == 257) tif.replace(at + 8, 2, "\x30\x75");
    if (i + 1 == u16(directory)) tif[at + 2] = 99;
  }
  const struct {
    const wchar_t* name;
    std::string bytes;
    bool added;
    int64_t grownTo = 0;
  } cases[] = {
      {L"zero.jpg", "", false},
      {L"head.jpg", whole.substr(0, 3), false},
      {L"cut.jpg", whole.substr(0, whole.size() / 2), true},
      {L"scrambled.jpg", scrambled, false},
      {L"huge.jpg", huge, false},
      {L"huge.png", png, false},
      {L"huge.bmp", bmp, false},
      {L"huge.gif", gif, false},
      {L"small.png", wholePng, true},
      {L"huge-unknown-type.tif", tif, false},
      // Over 1 GiB (sparse): once read as empty, so that GDI+ decoded it unchecked.
      {L"over-1-gib.png", wholePng, false, (int64_t{1} << 30) + 1},
      {L"many-scans.jpg", ToString(test::ProgressiveJpeg(test::Scene(64, 48), kMostJpegScans + 1)), false},
      {L"ten-scans.jpg", ToString(test::ProgressiveJpeg(test::Scene(64, 48), 10)), true},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(test::WriteBytes(dir + c.name, c.bytes));
    if (c.grownTo) {
      ASSERT_TRUE(GrowSparse(dir + c.name, c.grownTo));
    }
    EXPECT_EQ(AddPhoto(photos, dir + c.name, 1024), c.added) << static_cast<int>(&c - cases);
  }
}

TEST_F(PhotoAdd, DoubleByteNames) {
  // "照片" and a character whose code page 936 trail byte is a backslash (0x955C).
  const std::wstring photo = Picture(L"照片.png", 120, 80, "png");
  const std::wstring tricky = Picture(L"\u661E.jpg", 120, 80, "jpg");
  ASSERT_TRUE(AddPhoto(photos, photo, 1024));
  ASSERT_TRUE(AddPhoto(photos, tricky, 1024));
  EXPECT_EQ(photos.SlotAt(0)->title, L"照片");
  EXPECT_EQ(photos.SlotAt(0)->sendPath, ScaledCopiesDirectory() + L"1001.jpg");  // PNG converted
  EXPECT_EQ(photos.SlotAt(1)->title, L"\u661E");
  EXPECT_EQ(photos.SlotAt(1)->sendPath, tricky);
  EXPECT_GT(photos.SlotAt(1)->fileSize, 0);
}

// A path of exactly `length` characters ending in "<name>.jpg", made through nested folders.
std::wstring LongPath(const std::wstring& base, std::size_t length) {
  std::wstring path = base;
  while (length - path.size() > 120) {
    path += std::wstring(100, L'd') + L"\\";
    ::CreateDirectoryW(path.c_str(), nullptr);
  }
  const std::size_t nameLength = length - path.size() - 4;
  path += std::wstring(nameLength, L'p') + L".jpg";
  return path;
}

// 259 characters is the longest path every file function takes; whether 260 still works
// depends on the system. Either way a photo that the system can store at such a
// path must be added whole: no buffer of the program may cut the path short.
TEST_F(PhotoAdd, PathsOf259And260Characters) {
  for (std::size_t length : {259u, 260u}) {
    SCOPED_TRACE(length);
    const std::wstring path = LongPath(dir, length);
    ASSERT_EQ(path.size(), length);
    GpBitmapPtr picture = test::MakeQuadrantPicture(64, 48);
    const bool written = test::SavePicture(picture.get(), path, "jpg");
    if (length == 259) {
      ASSERT_TRUE(written);
    }
    WIN32_FILE_ATTRIBUTE_DATA file{};
    const bool readable = written && ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &file);
    const unsigned before = photos.Count();
    EXPECT_EQ(AddPhoto(photos, path, 1024), readable);
    ASSERT_EQ(photos.Count(), before + (readable ? 1 : 0));
    if (!readable) continue;
    const PhotoItem& added = *photos.SlotAt(before);
    EXPECT_EQ(added.sourcePath, path);
    EXPECT_EQ(added.sendPath, path);
    EXPECT_EQ(added.fileSize, static_cast<int32_t>(file.nFileSizeLow));
    EXPECT_GT(added.fileSize, 0);
    EXPECT_EQ(added.title, std::wstring(path.size() - 4 - path.rfind(L'\\') - 1, L'p'));
    EXPECT_GT(PictureWidth(test::ThumbnailPicture(added).get()), 0u) << "the thumbnail was decoded";
  }
}

// --- the open dialog -----------------------------------------------------------------

std::wstring ResultBuffer(std::initializer_list<std::wstring> parts) {
  std::wstring buffer;
  for (const std::wstring& p : parts) {
    buffer += p;
    buffer.push_back(L'\0');
  }
  buffer.push_back(L'\0');
  return buffer;
}

OpenFileDialogRunner Answer(std::wstring buffer, OPENFILENAMEW* seen = nullptr, std::wstring* filter = nullptr) {
  return [buffer, seen, filter](OPENFILENAMEW& dialog) -> BOOL {
    if (seen) *seen = dialog;
    if (filter) {
      const wchar_t* p = dialog.lpstrFilter;
      while (*p) p += std::wcslen(p) + 1;
      filter->assign(dialog.lpstrFilter, p + 1);
    }
    // nMaxFile counts characters; a longer result is refused as the dialog refuses it.
    if (buffer.size() > dialog.nMaxFile) return FALSE;
    std::wmemcpy(dialog.lpstrFile, buffer.data(), buffer.size());
    return TRUE;
  };
}

// A working copy that cannot be written leaves its photo out, never an empty frame that would
// upload nothing; the batch's user is told once which photos, and why.
TEST_F(PhotoAdd, PhotosWhoseCopyCannotBeWrittenAreLeftOutAndToldOnce) {
  Picture(L"small.jpg", 64, 48, "jpg");
  Picture(L"large.jpg", 2000, 1500, "jpg");
  Picture(L"c.bmp", 64, 48, "bmp");
  test::RemoveDirectoryTree(ScaledCopiesDirectory());
  std::vector<PromptRequest> prompts;
  ScopedPromptAnswerer answer([&](const PromptRequest& request) {
    prompts.push_back(request);
    return IDOK;
  });
  const std::wstring folder = dir.substr(0, dir.size() - 1);
  EXPECT_TRUE(AddPhotosWithDialog(host.owner.hwnd(), photos,
                                  Answer(ResultBuffer({folder, L"large.jpg", L"small.jpg", L"c.bmp"}))));
  ASSERT_EQ(photos.Count(), 1u);
  EXPECT_EQ(photos.SlotAt(0)->sendPath, dir + L"small.jpg");
  ASSERT_EQ(prompts.size(), 1u);
  EXPECT_EQ(prompts[0].caption, L"提示");
  EXPECT_EQ(prompts[0].owner, host.owner.hwnd());
  const std::wstring& text = prompts[0].text;
  EXPECT_EQ(text.find(L"small.jpg"), std::wstring::npos) << "it was added";
  for (const wchar_t* name : {L"\nlarge.jpg：", L"\nc.bmp："}) {
    const std::size_t line = text.find(name);
    ASSERT_NE(line, std::wstring::npos) << name;
    const std::size_t reason = line + std::wcslen(name);
    EXPECT_LT(reason, std::min(text.find(L'\n', line + 1), text.size())) << "each name comes with its reason";
  }
}

// The reason is quoted in Simplified Chinese where the system has the words, whatever the
// user's language: here a thread that speaks English.
TEST(PreparationReport, QuotesTheSystemsWordsInChineseFirst) {
  const LCID before = ::GetThreadLocale();
  ::SetThreadLocale(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
  PreparationReport report;
  report.Add(L"a.png", ERROR_PATH_NOT_FOUND);
  report.Add(L"b.png", 0);
  const std::wstring text = report.Text();
  ::SetThreadLocale(before);
  EXPECT_EQ(text, L"下列图片未能准备好，没有加入：\n\na.png：找不到路径。\nb.png：不能写入图片的工作副本");
}

TEST_F(PhotoAdd, DialogSettings) {
  OPENFILENAMEW seen{};
  std::wstring filter;
  AddPhotosWithDialog(host.owner.hwnd(), photos, Answer(ResultBuffer({}), &seen, &filter));
  EXPECT_EQ(seen.lStructSize, sizeof(OPENFILENAMEW));
  EXPECT_EQ(seen.Flags, static_cast<DWORD>(OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLEHOOK |
                                           OFN_ENABLESIZING));
  EXPECT_NE(seen.lpfnHook, nullptr);
  EXPECT_EQ(seen.nMaxFile, 4096u);
  EXPECT_EQ(seen.nMaxFileTitle, 256u);
  EXPECT_EQ(seen.nFilterIndex, 1u);
  EXPECT_EQ(seen.lpstrDefExt, nullptr);
  EXPECT_EQ(seen.lpstrInitialDir, nullptr);
  EXPECT_EQ(seen.lpstrTitle, nullptr);
  EXPECT_EQ(seen.hwndOwner, host.owner.hwnd());
  const std::wstring want =
      ResultBuffer({L"All Image Files", L"*.bmp;*.jpg;*.jpeg;*.jpe;*.gif;*.png;*.tif;*.tiff;*.heic;*.heif;*.hif;*.webp",
                    L"BMP  (*.bmp)", L"*.bmp", L"JPEG (*.jpg;*.jpeg;*.jpe)", L"*.jpg;*.jpeg;*.jpe", L"GIF  (*.gif)",
                    L"*.gif", L"PNG  (*.png)", L"*.png", L"TIFF (*.tif;*.tiff)", L"*.tif;*.tiff",
                    L"HEIF (*.heic;*.heif;*.hif)", L"*.heic;*.heif;*.hif", L"WebP (*.webp)", L"*.webp"});
  EXPECT_EQ(filter, want);
}

TEST_F(PhotoAdd, DialogWithSeveralFilesAddsThemInBufferOrder) {
  Picture(L"x.jpg", 64, 48, "jpg");
  Picture(L"y.png", 48, 64, "png");
  Picture(L"z.jpe", 64, 64, "jpg");
  const std::wstring folder = dir.substr(0, dir.size() - 1);  // as the dialog gives it, no "\"
  EXPECT_TRUE(AddPhotosWithDialog(nullptr, photos, Answer(ResultBuffer({folder, L"y.png", L"x.jpg", L"z.jpe"}))));
  ASSERT_EQ(photos.Count(), 3u);
  EXPECT_EQ(photos.SlotAt(0)->sourcePath, dir + L"y.png");
  EXPECT_EQ(photos.SlotAt(1)->sourcePath, dir + L"x.jpg");
  EXPECT_EQ(photos.SlotAt(2)->sourcePath, dir + L"z.jpe");
  EXPECT_EQ(photos.SlotAt(2)->sendPath, dir + L"z.jpe");  // the dialog's jpe is sent unchanged
  EXPECT_EQ(photos.selection(), photos.SlotAt(2));
  // Adding places nothing: the one who shows the list lays it out once afterwards.
  EXPECT_EQ(photos.SlotAt(2)->centreX, 0);
}

TEST_F(PhotoAdd, DialogWithOneFileGivesItsWholePath) {
  const std::wstring path = Picture(L"b.png", 64, 48, "png");
  AddPhotosWithDialog(nullptr, photos, Answer(ResultBuffer({path})));
  ASSERT_EQ(photos.Count(), 1u);
  EXPECT_EQ(photos.SlotAt(0)->sourcePath, path);
  EXPECT_EQ(photos.SlotAt(0)->title, L"b");
}

TEST_F(PhotoAdd, DialogInTheRootDoesNotDoubleTheSeparator) {
  // The root of the drive, as the dialog reports it: "C:\".
  const std::wstring root = dir.substr(0, 3);
  const std::wstring name = L"fernwick-root-test.jpg";
  ASSERT_TRUE(test::WriteQuadrantPicture(root + name, 32, 32, "jpg"));
  AddPhotosWithDialog(nullptr, photos, Answer(ResultBuffer({root, name, L"absent.jpg"})));
  ::DeleteFileW((root + name).c_str());
  ASSERT_EQ(photos.Count(), 1u);
  EXPECT_EQ(photos.SlotAt(0)->sourcePath, root + name);
}

TEST_F(PhotoAdd, CancelledOrOverflowingDialogChangesNothing) {
  for (int i = 0; i < 20; ++i) AddPhoto(photos, Picture(L"p" + std::to_wstring(i) + L".jpg", 64, 48, "jpg"), 1024);
  const PhotoItem* selected = photos.selection();
  EXPECT_FALSE(AddPhotosWithDialog(nullptr, photos, [](OPENFILENAMEW&) -> BOOL { return FALSE; }));
  // More than 4096 characters of names: the dialog fails, nothing is added.
  std::wstring many = dir;
  many.push_back(L'\0');
  for (int i = 0; i < 400; ++i) many += L"a-rather-long-name-" + std::to_wstring(i) + L".jpg" + L'\0';
  many.push_back(L'\0');
  EXPECT_FALSE(AddPhotosWithDialog(nullptr, photos, Answer(many)));
  EXPECT_EQ(photos.Count(), 20u);
  EXPECT_EQ(photos.selection(), selected);
  // A successful dialog asks for the list to be shown afresh even when nothing was added.
  EXPECT_TRUE(AddPhotosWithDialog(nullptr, photos, Answer(ResultBuffer({dir, L"none.jpg"}))));
  EXPECT_EQ(photos.Count(), 20u);
}

TEST_F(PhotoAdd, FileVanishingBetweenDialogAndDecode) {
  Picture(L"stays.jpg", 64, 48, "jpg");
  const std::wstring goes = Picture(L"goes.jpg", 64, 48, "jpg");
  const std::wstring folder = dir.substr(0, dir.size() - 1);
  const std::wstring buffer = ResultBuffer({folder, L"goes.jpg", L"stays.jpg"});
  AddPhotosWithDialog(nullptr, photos, [&](OPENFILENAMEW& dialog) -> BOOL {
    std::wmemcpy(dialog.lpstrFile, buffer.data(), buffer.size());
    ::DeleteFileW(goes.c_str());
    return TRUE;
  });
  ASSERT_EQ(photos.Count(), 1u);
  EXPECT_EQ(photos.SlotAt(0)->sourcePath, dir + L"stays.jpg");
}

TEST_F(PhotoAdd, DialogUsesTheCurrentSizeLimit) {
  const std::wstring path = Picture(L"big.jpg", 1600, 1200, "jpg");
  SetSizeLimit(800);
  AddPhotosWithDialog(nullptr, photos, Answer(ResultBuffer({path})));
  ASSERT_EQ(photos.Count(), 1u);
  EXPECT_EQ(photos.SlotAt(0)->width, 800);
  EXPECT_EQ(photos.SlotAt(0)->height, 600);
}

// --- dropped files -------------------------------------------------------------------

using test::MakeDrop;

TEST_F(PhotoAdd, DropTakesItsOwnExtensionList) {
  struct DropCase {
    const wchar_t* name;
    const char* format;
    bool taken;
  };
  const DropCase cases[] = {
      {L"PHOTO.JPG", "jpg", true}, {L"a.jpeg", "jpg", true}, {L"b.bmp", "bmp", true},  {L"c.GIF", "gif", true},
      {L"d.png", "png", true},     {L"e.tif", "tif", true},  {L"f.tiff", "tif", true}, {L"g.jpe", "jpg", false},
      {L"h.dat", "png", false},    {L"noext", "png", false}, {L"i.WEBP", "png", true},
  };
  std::vector<std::wstring> names;
  for (const DropCase& c : cases) names.push_back(Picture(c.name, 64, 48, c.format));
  ::CreateDirectoryW((dir + L"folder.png").c_str(), nullptr);
  names.push_back(dir + L"folder.png");
  names.push_back(dir + L"missing.png");
  ::SendMessageA(view.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(names)), 0);
  std::vector<std::wstring> added;
  for (unsigned i = 0; i < photos.Count(); ++i) added.push_back(photos.SlotAt(i)->sourcePath);
  std::vector<std::wstring> want;
  for (const DropCase& c : cases) {
    if (c.taken) want.push_back(dir + c.name);
  }
  EXPECT_EQ(added, want);
  EXPECT_EQ(photos.SlotAt(photos.Count() - 1)->centreY, 190);  // laid out: the fifth wraps at 600
}

TEST_F(PhotoAdd, DropOfNothingUsableDoesNotLayOut) {
  for (int i = 0; i < 20; ++i) AddPhoto(photos, Picture(L"p" + std::to_wstring(i) + L".jpg", 64, 48, "jpg"), 1024);
  view.Layout();
  ::SendMessageA(view.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
  const LONG scrolled = view.ScrollOffset().y;
  ASSERT_GT(scrolled, 0);
  ::SendMessageA(view.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({dir + L"a.txt", dir + L"b.jpe"})), 0);
  EXPECT_EQ(view.ScrollOffset().y, scrolled);
  EXPECT_EQ(photos.Count(), 20u);
}

TEST_F(PhotoAdd, DroppedNamesLongerThanMaxPathAreTakenWhole) {
  const std::wstring fits = LongPath(dir, 259);
  const std::wstring longer = LongPath(dir, 300);
  GpBitmapPtr picture = test::MakeQuadrantPicture(64, 48);
  ASSERT_TRUE(test::SavePicture(picture.get(), fits, "jpg"));
  const bool longerWritten = test::SavePicture(picture.get(), longer, "jpg") && test::FileExists(longer);
  // The name cut at 259 characters also names a picture: it must never be what is taken.
  const std::wstring cut = longer.substr(0, 259);
  test::SavePicture(picture.get(), cut, "jpg");
  ::SendMessageA(view.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({longer, fits})), 0);
  std::vector<std::wstring> added;
  for (unsigned i = 0; i < photos.Count(); ++i) added.push_back(photos.SlotAt(i)->sourcePath);
  const std::vector<std::wstring> want =
      longerWritten ? std::vector<std::wstring>{longer, fits} : std::vector<std::wstring>{fits};
  EXPECT_EQ(added, want);
}

// A folder gives its own pictures in name order, then its subfolders'; hidden and system
// entries are left out, and a link back up the tree is not followed (Wine's CreateSymbolicLinkW
// makes none: the build makes that folder, FERNWICK_LINK_LOOP_DIR).
TEST_F(PhotoAdd, FoldersAreWalkedInNameOrder) {
  const std::wstring top = dir + L"top";
  for (const std::wstring folder : {L"", L"\\sub", L"\\sub\\deeper", L"\\secret"}) {
    ::CreateDirectoryW((top + folder).c_str(), nullptr);
  }
  for (const wchar_t* name : {L"b.jpg", L"A.JPG", L"c.jpe", L"note.txt", L"hidden.jpg", L"system.png", L"sub\\z.png",
                              L"sub\\deeper\\y.gif", L"secret\\x.jpg"}) {
    ASSERT_TRUE(test::WriteBytes(top + L"\\" + name, "x"));
  }
  ::SetFileAttributesW((top + L"\\hidden.jpg").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesW((top + L"\\system.png").c_str(), FILE_ATTRIBUTE_SYSTEM);
  ::SetFileAttributesW((top + L"\\secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(test::WriteBytes(dir + L"one.webp", "x"));
  ASSERT_TRUE(test::WriteBytes(dir + L"one.jpe", "x"));

  const std::vector<std::wstring> want{
      top + L"\\A.JPG", top + L"\\b.jpg", top + L"\\c.jpe", top + L"\\sub\\z.png", top + L"\\sub\\deeper\\y.gif",
      dir + L"one.webp"};
  EXPECT_EQ(PicturesInPaths({top, dir + L"one.jpe", dir + L"missing.jpg", dir + L"one.webp"}), want);
  const char* loop = std::getenv("FERNWICK_LINK_LOOP_DIR");
  ASSERT_NE(loop, nullptr);
  const std::wstring looped(loop, loop + std::strlen(loop));  // ASCII
  EXPECT_EQ(PicturesInPaths({looped}), (std::vector<std::wstring>{looped + L"\\a.jpg", looped + L"\\sub\\b.jpg"}));

  // The window's walk hands groups on in the order given, one after the other; a stop drops
  // the group not handed on yet. The walks run at once here; their answers wait for the pump.
  const HWND window = test::CreateTestWindow("FernwickWalkTest", &test::TaskWindowProc, WS_OVERLAPPED);
  PictureWalk walk([](const std::function<void()>& job) { return job(), true; });
  std::vector<std::wstring> found;
  walk.Attach(UiTaskChannel::Open(window),
              [&](std::vector<std::wstring> pictures) { found.insert(found.end(), pictures.begin(), pictures.end()); });
  walk.Walk({dir + L"one.webp"});
  walk.Walk({looped});
  EXPECT_TRUE(test::PumpUntil([&] { return !walk.busy(); }));
  walk.Walk({top});
  walk.Stop();
  test::PumpPendingMessages();
  EXPECT_EQ(found, (std::vector<std::wstring>{dir + L"one.webp", looped + L"\\a.jpg", looped + L"\\sub\\b.jpg"}));
  ::DestroyWindow(window);
}

}  // namespace
}  // namespace fernwick
