// Titles and extensions taken from wide paths, and the open dialog's result.
#include <gtest/gtest.h>

#include <string>

#include "base/core/ansi_text.h"
#include "imaging/core/path_rules.h"

namespace fernwick {
namespace {

// "照片", a name with a Korean word and an emoji, and a character whose code page 936 trail
// byte is a backslash (U+661E, 0x955C there): as UTF-16 none of them holds a separator.
const std::wstring kPhotoWord = L"照片";
const std::wstring kKoreanEmoji = L"한국 😀";
const std::wstring kTrailBackslashIn936 = L"\u661E";

TEST(PhotoPathRules, LeadBytesOf936) {
  EXPECT_FALSE(IsCp936LeadByte(0x80));
  EXPECT_TRUE(IsCp936LeadByte(0x81));
  EXPECT_TRUE(IsCp936LeadByte(0xFE));
  EXPECT_FALSE(IsCp936LeadByte(0xFF));
  EXPECT_FALSE(IsCp936LeadByte('\\'));
  EXPECT_FALSE(IsCp936LeadByte('.'));
}

TEST(PhotoPathRules, Titles) {
  struct Case {
    std::wstring path, title;
  };
  const Case cases[] = {
      {L"D:\\pics\\beach.jpg", L"beach"},
      {L"C:\\a\\b.png", L"b"},
      {L"C:\\x.jpg", L"x"},
      {L"beach.jpg", L"beach"},
      {L"C:\\dir.d\\noext", L""},  // last '.' before last '\'
      {L"C:\\dir\\noext", L""},    // no "." at all
      {L"noext", L""},             // neither: -1 - -1 - 1 characters
      {L"C:\\dir\\a.b.c.jpg", L"a.b.c"},
      {L"C:\\dir\\.jpg", L""},
      {L"C:\\dir\\", L""},
      {L"", L""},
      {L"C:\\" + kPhotoWord + L"\\" + kPhotoWord + L".jpg", kPhotoWord},
      {L"C:\\海边\\海边 café.jpg", L"海边 café"},
      {L"C:\\" + kKoreanEmoji + L"\\" + kKoreanEmoji + L".JPG", kKoreanEmoji},
      {L"C:\\d\\a" + kTrailBackslashIn936 + L"b.jpg", L"a" + kTrailBackslashIn936 + L"b"},
  };
  for (const Case& c : cases) EXPECT_EQ(PhotoTitle(c.path), c.title);
}

TEST(PhotoPathRules, Extensions) {
  struct Case {
    std::wstring path, extension, lower;
  };
  const Case cases[] = {
      {L"C:\\PHOTO.JPG", L"JPG", L"jpg"},
      {L"C:\\a.Tiff", L"Tiff", L"tiff"},
      {L"C:\\a.jpe", L"jpe", L"jpe"},
      {L"C:\\noext", L"C:\\noext", L"c:\\noext"},
      {L"C:\\a.b\\c", L"b\\c", L"b\\c"},
      {L"C:\\" + kPhotoWord + L".PNG", L"PNG", L"png"},
      {L"C:\\a." + kPhotoWord, kPhotoWord, kPhotoWord},
      // Only ASCII letters change: "É" stays, so "JPÉG" never passes for a picture.
      {L"C:\\a.JPÉG", L"JPÉG", L"jpÉg"},
      {L"C:\\" + kKoreanEmoji + L".Bmp", L"Bmp", L"bmp"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtensionOf(c.path), c.extension);
    EXPECT_EQ(LowerCaseAscii(ExtensionOf(c.path)), c.lower);
  }
}

TEST(PhotoPathRules, ConvertedAndDroppedExtensions) {
  struct Case {
    const wchar_t* extension;
    bool converted, dropped;
  };
  const Case cases[] = {
      {L"bmp", true, true},   {L"gif", true, true},     {L"png", true, true},    {L"tif", true, true},
      {L"tiff", true, true},  {L"jpg", false, true},    {L"jpeg", false, true},  {L"jpe", false, false},
      {L"BMP", false, false}, {L"tiff ", false, false}, {L"", false, false},     {L"pn", false, false},
      {L"txt", false, false}, {L"heic", false, true},   {L"heif", false, true},  {L"hif", false, true},
      {L"webp", false, true}, {L"HEIC", false, false},  {L"avif", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsConvertedExtension(c.extension), c.converted);
    EXPECT_EQ(IsDropExtension(c.extension), c.dropped);
  }
}

TEST(PhotoPathRules, JoinAddsOneSeparator) {
  EXPECT_EQ(JoinDirectoryAndName(L"C:\\", L"x.jpg"), L"C:\\x.jpg");
  EXPECT_EQ(JoinDirectoryAndName(L"C:\\pics", L"x.jpg"), L"C:\\pics\\x.jpg");
  EXPECT_EQ(JoinDirectoryAndName(L"C:\\" + kTrailBackslashIn936, L"x.jpg"),
            L"C:\\" + kTrailBackslashIn936 + L"\\x.jpg");
}

std::wstring Buffer(std::initializer_list<std::wstring> parts, std::size_t size = 4096) {
  std::wstring buffer;
  for (const std::wstring& p : parts) {
    buffer += p;
    buffer.push_back(L'\0');
  }
  buffer.resize(size, L'\0');
  return buffer;
}

TEST(PhotoPathRules, OpenDialogResultSplitting) {
  struct Case {
    std::wstring buffer;
    std::vector<std::wstring> paths;
  };
  const Case cases[] = {
      {Buffer({L"C:\\a\\b.png"}), {L"C:\\a\\b.png"}},
      {Buffer({L"C:\\", L"x.jpg", L"y.jpg"}), {L"C:\\x.jpg", L"C:\\y.jpg"}},
      {Buffer({L"C:\\pics", L"b.jpg", L"a.jpg", L"c.bmp"}),
       {L"C:\\pics\\b.jpg", L"C:\\pics\\a.jpg", L"C:\\pics\\c.bmp"}},
      {Buffer({L"C:\\" + kPhotoWord, kPhotoWord + L".jpg", kKoreanEmoji + L".png"}),
       {L"C:\\" + kPhotoWord + L"\\" + kPhotoWord + L".jpg", L"C:\\" + kPhotoWord + L"\\" + kKoreanEmoji + L".png"}},
      {Buffer({}), {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitOpenFileResult(c.buffer.data(), c.buffer.size()), c.paths);
}

TEST(PhotoPathRules, SplittingStopsAtTheBufferEnd) {
  // No terminator at all: the directory itself was cut, nothing is taken.
  const std::wstring full(64, L'a');
  EXPECT_TRUE(SplitOpenFileResult(full.data(), full.size()).empty());
  // The last name runs into the end: the names before it are taken, the cut one is not.
  std::wstring cut = std::wstring(L"C:\\d") + L'\0' + L"one.jpg" + L'\0' + L"tw";
  EXPECT_EQ(SplitOpenFileResult(cut.data(), cut.size()), (std::vector<std::wstring>{L"C:\\d\\one.jpg"}));
  // A single path that ends exactly at the last character with its terminator.
  std::wstring exact = std::wstring(L"C:\\a.jpg") + L'\0';
  EXPECT_EQ(SplitOpenFileResult(exact.data(), exact.size()), (std::vector<std::wstring>{L"C:\\a.jpg"}));
  EXPECT_TRUE(SplitOpenFileResult(nullptr, 10).empty());
}

}  // namespace
}  // namespace fernwick
