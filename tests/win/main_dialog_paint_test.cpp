// What the main window paints: the tab frame behind the toolbar and thumbnails, and the logo
// with its white made transparent.
#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/logo.h"
#include "support/photo_test_pictures.h"
#include "support/test_main_dialog.h"

namespace fernwick {
namespace {

using namespace Gdiplus::DllExports;

// Reads the screen where the shown window is: what the user sees.
COLORREF ClientPixel(HWND window, int x, int y) {
  WindowDc dc(window);
  return ::GetPixel(dc.get(), x, y);
}

class Painting : public test::MainDialogTest {
 protected:
  void SetUp() override {
    test::MainDialogTest::SetUp();
    test::SetClientSize(dialog.hwnd(), 500, 420);
    ::RedrawWindow(dialog.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    test::PumpPendingMessages();
  }
};

TEST_F(Painting, TheTabIsWhiteInsideAndFramedInTheShadowColour) {
  const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  ASSERT_NE(shadow, face);
  EXPECT_EQ(ClientPixel(dialog.hwnd(), 190, 38), shadow) << "upper edge of the tab";
  EXPECT_EQ(ClientPixel(dialog.hwnd(), 190, 70), RGB(255, 255, 255)) << "inside the tab, right of the toolbar";
  EXPECT_EQ(ClientPixel(dialog.hwnd(), 300, 74), shadow) << "the step down to the thumbnails";
  EXPECT_EQ(ClientPixel(dialog.hwnd(), 300, 60), face) << "outside the tab";
  // A polygon region leaves out its lower edge, so the frame's last row is the one just below
  // the view.
  EXPECT_EQ(ClientPixel(dialog.hwnd(), 250, 420 - 72), shadow) << "lower edge, just below the view";
  EXPECT_EQ(ClientPixel(dialog.hwnd(), 250, 420 - 60), face) << "below the tab";
}

TEST_F(Painting, WithoutTheViewThereIsNoTab) {
  dialog.photoCount = 1;
  dialog.EnterState(WindowState::kPhotoSettings);
  ::UpdateWindow(dialog.hwnd());
  EXPECT_EQ(ClientPixel(dialog.hwnd(), 300, 74), ::GetSysColor(COLOR_BTNFACE));
}

Gdiplus::ARGB PixelAt(Gdiplus::GpBitmap* bitmap, int x, int y) {
  Gdiplus::ARGB colour = 0;
  GdipBitmapGetPixel(bitmap, x, y, &colour);
  return colour;
}

TEST(Logo, WhiteBecomesTransparentAndOtherColoursStay) {
  GpBitmapPtr bitmap;
  ASSERT_EQ(GdipCreateBitmapFromScan0(3, 2, 0, PixelFormat32bppARGB, nullptr, bitmap.put()), Gdiplus::Ok);
  const Gdiplus::ARGB colours[3][2] = {{0xFFFFFFFF, 0xFFFEFFFF}, {0xFF000000, 0x80FFFFFF}, {0xFFFFFFFE, 0xFF2F5D8A}};
  for (int x = 0; x < 3; ++x) {
    for (int y = 0; y < 2; ++y) GdipBitmapSetPixel(bitmap.get(), x, y, colours[x][y]);
  }
  MakeWhiteTransparent(bitmap.get());
  EXPECT_EQ(PixelAt(bitmap.get(), 0, 0), 0x00FFFFFFu);
  EXPECT_EQ(PixelAt(bitmap.get(), 0, 1), 0xFFFEFFFFu);
  EXPECT_EQ(PixelAt(bitmap.get(), 1, 0), 0xFF000000u);
  EXPECT_EQ(PixelAt(bitmap.get(), 1, 1) & 0x00FFFFFFu, 0x00FFFFFFu);
  EXPECT_EQ(PixelAt(bitmap.get(), 1, 1) >> 24, 0u) << "white of any alpha counts as white";
  EXPECT_EQ(PixelAt(bitmap.get(), 2, 0), 0xFFFFFFFEu);
  EXPECT_EQ(PixelAt(bitmap.get(), 2, 1), 0xFF2F5D8Au);
}

TEST(Logo, AGifLoadsWithItsWhiteTransparent) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"fernwick-logo-test.gif";
  std::vector<uint8_t> pixels;
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 8; ++x) pixels.push_back(x < 4 ? 0 : 1);  // white left, blue right
  }
  ASSERT_TRUE(test::WriteBytes(path, test::FourColourGif(8, 3, {0xFFFFFF, 0x2F5D8A, 0, 0}, pixels)));
  GpBitmapPtr logo = LoadLogo(path);
  ::DeleteFileW(path.c_str());
  ASSERT_TRUE(logo);
  UINT width = 0;
  GdipGetImageWidth(logo.get(), &width);
  EXPECT_EQ(width, 8u);
  EXPECT_EQ(PixelAt(logo.get(), 1, 1) >> 24, 0u) << "white is see-through";
  EXPECT_EQ(PixelAt(logo.get(), 6, 1), 0xFF2F5D8Au);
}

TEST(Logo, AMissingFileGivesNoLogo) { EXPECT_FALSE(LoadLogo(L"C:\\no-such-folder\\logo.gif")); }

TEST(Logo, TheLogoIsLookedForBesideTheProgram) {
  wchar_t module[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring expected = module;
  expected.erase(expected.find_last_of(L'\\'));
  EXPECT_EQ(LogoPath(), expected + L"\\logo.gif");
}

}  // namespace
}  // namespace fernwick
