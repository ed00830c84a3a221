// Titles and extensions taken from paths in code page 936, and the open dialog's result.
#include <gtest/gtest.h>

#include <string>

#include "base/core/ansi_text.h"
#include "imaging/core/path_rules.h"

namespace fernwick {
namespace {

// "照片" in code page 936 is D5 D5 C6 AC; 0x955C is a double-byte character whose trail byte
// is a backslash, and 0x815C another.
const std::string kPhotoWord = "\xD5\xD5\xC6\xAC";
const std::string kTrailBackslash = "\x95\x5C";
const std::string kTrailBackslash2 = "\x81\x5C";

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
    std::string path, title;
  };
  const Case cases[] = {
      {"D:\\pics\\beach.jpg", "beach"},
      {"C:\\a\\b.png", "b"},
      {"C:\\x.jpg", "x"},
      {"beach.jpg", "beach"},
      {"C:\\dir.d\\noext", ""},  // last '.' before last '\'
      {"C:\\dir\\noext", ""},    // no "." at all
      {"C:\\dir\\a.b.c.jpg", "a.b.c"},
      {"C:\\dir\\.jpg", ""},
      {"C:\\dir\\", ""},
      {"", ""},
      {"C:\\" + kPhotoWord + "\\" + kPhotoWord + ".jpg", kPhotoWord},
      // A trail byte 0x5C is no separator: the title keeps the whole name.
      {"C:\\d\\a" + kTrailBackslash + "b.jpg", "a" + kTrailBackslash + "b"},
      {"C:\\d\\" + kTrailBackslash2 + ".png", kTrailBackslash2},
      {"C:\\d" + kTrailBackslash + ".x\\y", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(PhotoTitle(c.path), c.title) << c.path;
}

TEST(PhotoPathRules, NoDotAndNoSeparatorGiveAnEmptyTitle) {
  // No '.' (-1) and no '\' (-1): count is -1 - -1 - 1 = -1, so the title is empty.
  EXPECT_EQ(PhotoTitle("noext"), "");
}

TEST(PhotoPathRules, Extensions) {
  struct Case {
    std::string path, extension, lower;
  };
  const Case cases[] = {
      {"C:\\PHOTO.JPG", "JPG", "jpg"},
      {"C:\\a.Tiff", "Tiff", "tiff"},
      {"C:\\a.jpe", "jpe", "jpe"},
      {"C:\\noext", "C:\\noext", "c:\\noext"},
      {"C:\\a.b\\c", "b\\c", "b\\c"},
      {"C:\\" + kPhotoWord + ".PNG", "PNG", "png"},
      {"C:\\a." + kPhotoWord, kPhotoWord, kPhotoWord},
      // 0xC1 0x41 would lose its trail byte to a byte-wise lower-casing.
      {"C:\\a.\xC1\x41", "\xC1\x41", "\xC1\x41"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtensionOf(c.path), c.extension) << c.path;
    EXPECT_EQ(LowerCase936(ExtensionOf(c.path)), c.lower) << c.path;
  }
}

TEST(PhotoPathRules, ConvertedAndDroppedExtensions) {
  struct Case {
    const char* extension;
    bool converted, dropped;
  };
  const Case cases[] = {
      {"bmp", true, true},   {"gif", true, true},     {"png", true, true},   {"tif", true, true},
      {"tiff", true, true},  {"jpg", false, true},    {"jpeg", false, true}, {"jpe", false, false},
      {"BMP", false, false}, {"tiff ", false, false}, {"", false, false},    {"pn", false, false},
      {"txt", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsConvertedExtension(c.extension), c.converted) << c.extension;
    EXPECT_EQ(IsDropExtension(c.extension), c.dropped) << c.extension;
  }
}

TEST(PhotoPathRules, JoinAddsOneSeparator) {
  EXPECT_EQ(JoinDirectoryAndName("C:\\", "x.jpg"), "C:\\x.jpg");
  EXPECT_EQ(JoinDirectoryAndName("C:\\pics", "x.jpg"), "C:\\pics\\x.jpg");
  // The last character is a double-byte one ending in 0x5C, not a separator.
  EXPECT_EQ(JoinDirectoryAndName("C:\\" + kTrailBackslash, "x.jpg"), "C:\\" + kTrailBackslash + "\\x.jpg");
}

std::string Buffer(std::initializer_list<std::string> parts, std::size_t size = 4096) {
  std::string buffer;
  for (const std::string& p : parts) {
    buffer += p;
    buffer.push_back('\0');
  }
  buffer.resize(size, '\0');
  return buffer;
}

TEST(PhotoPathRules, OpenDialogResultSplitting) {
  struct Case {
    std::string buffer;
    std::vector<std::string> paths;
  };
  const Case cases[] = {
      {Buffer({"C:\\a\\b.png"}), {"C:\\a\\b.png"}},
      {Buffer({"C:\\", "x.jpg", "y.jpg"}), {"C:\\x.jpg", "C:\\y.jpg"}},
      {Buffer({"C:\\pics", "b.jpg", "a.jpg", "c.bmp"}), {"C:\\pics\\b.jpg", "C:\\pics\\a.jpg", "C:\\pics\\c.bmp"}},
      {Buffer({"C:\\" + kPhotoWord, kPhotoWord + ".jpg"}), {"C:\\" + kPhotoWord + "\\" + kPhotoWord + ".jpg"}},
      {Buffer({}), {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitOpenFileResult(c.buffer.data(), c.buffer.size()), c.paths);
}

TEST(PhotoPathRules, SplittingStopsAtTheBufferEnd) {
  // No terminator at all: the directory itself was cut, nothing is taken.
  const std::string full(64, 'a');
  EXPECT_TRUE(SplitOpenFileResult(full.data(), full.size()).empty());
  // The last name runs into the end: the names before it are taken, the cut one is not.
  std::string cut = std::string("C:\\d") + '\0' + "one.jpg" + '\0' + "tw";
  EXPECT_EQ(SplitOpenFileResult(cut.data(), cut.size()), (std::vector<std::string>{"C:\\d\\one.jpg"}));
  // A single path that ends exactly at the last byte with its terminator.
  std::string exact = std::string("C:\\a.jpg") + '\0';
  EXPECT_EQ(SplitOpenFileResult(exact.data(), exact.size()), (std::vector<std::string>{"C:\\a.jpg"}));
  EXPECT_TRUE(SplitOpenFileResult(nullptr, 10).empty());
}

}  // namespace
}  // namespace fernwick
