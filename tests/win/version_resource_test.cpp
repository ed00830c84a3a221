// The file properties of fernwick.exe: what Explorer's Details tab and Apps & features show
// must be the release number the build was configured with.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fernwick {
namespace {

class VersionResourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(FERNWICK_TESTED_PROGRAM, &ignored);
    ASSERT_NE(size, 0u) << "no version resource, error " << ::GetLastError();
    block.resize(size);
    ASSERT_TRUE(::GetFileVersionInfoW(FERNWICK_TESTED_PROGRAM, 0, size, block.data()));
  }
  // The string `name` of the language block the Translation value names; empty when missing.
  std::wstring Text(const wchar_t* name) {
    struct Translation {
      WORD language;
      WORD codePage;
    }* translation = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                          &length) ||
        length < sizeof(Translation)) {
      return L"";
    }
    wchar_t path[128] = {};
    ::swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language, translation->codePage, name);
    wchar_t* text = nullptr;
    if (!::VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&text), &length) || length == 0) return L"";
    return text;
  }
  std::vector<BYTE> block;
};

TEST_F(VersionResourceTest, NamesTheProductAndTheConfiguredRelease) {
  const struct {
    const wchar_t* name;
    std::wstring expected;
  } cases[] = {
      {L"ProductName", L"Fernwick"},
      {L"ProductVersion", FERNWICK_EXPECTED_VERSION},
      {L"FileVersion", FERNWICK_EXPECTED_VERSION},
      {L"OriginalFilename", L"fernwick.exe"},
  };
  for (const auto& c : cases) EXPECT_EQ(Text(c.name), c.expected) << c.name;
  EXPECT_FALSE(Text(L"FileDescription").empty());
  EXPECT_NE(Text(L"LegalCopyright").find(L"Fernwick"), std::wstring::npos);
}

TEST_F(VersionResourceTest, TheFixedPartCarriesTheSameNumbers) {
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  wchar_t numbers[64] = {};
  ::swprintf(numbers, 64, L"%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
             HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(std::wstring(numbers), std::wstring(FERNWICK_EXPECTED_VERSION) + L".0");
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

}  // namespace
}  // namespace fernwick
