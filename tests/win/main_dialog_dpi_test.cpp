// The main window at the screen's DPI: every pixel figure of its layout, its minimum size, its
// pictures and the grid are the 96-DPI ones scaled. Run in the project's prefix (96 DPI) and,
// by scripts/lib/dpi-check.sh, in prefixes of their own at 144 and 192 DPI, which set
// FERNWICK_EXPECTED_DPI. With FERNWICK_DPI_SCREENSHOT_DIR set, the window is saved there as
// dpi-<DPI>.png for the eye.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include "base/core/dpi_scale.h"
#include "base/window_dpi.h"
#include "imaging/photo_item.h"
#include "imaging/picture_io.h"
#include "res/main_window_ids.h"
#include "support/photo_test_pictures.h"
#include "support/screenshot.h"
#include "support/test_main_dialog.h"
#include "thumbview/core/grid_layout.h"

namespace fernwick {
namespace {

using test::RectInParent;

// The 96-DPI places for a client area of 500 x 400 and the edge each is measured from.
struct Figure {
  int id;
  int x, y, width, height;
  bool fromRight, fromBottom;
};
constexpr Figure kFigures[] = {
    {ids::kUploadButton, 403, 349, 75, 24, true, true},  {ids::kBackButton, 403, 349, 75, 24, true, true},
    {ids::kOkButton, 310, 349, 75, 24, true, true},      {ids::kQuotaLine, 10, 383, 200, 12, false, true},
    {ids::kPhotoSiteLink, 12, 348, 52, 17, false, true},
};
// The toolbar in the template's dialog units (x, y, width, height).
constexpr std::pair<int, RECT> kToolbarUnits[] = {
    {ids::kAddButton, {4, 26, 26, 24}},         {ids::kDeleteButton, {29, 26, 26, 24}},
    {ids::kRotateLeftButton, {54, 26, 26, 24}}, {ids::kRotateRightButton, {79, 26, 26, 24}},
    {ids::kSettingsButton, {104, 26, 26, 24}},
};
constexpr int kBaseWidth = 500;
constexpr int kBaseHeight = 400;

int BitmapWidth(HBITMAP bitmap) {
  BITMAP info{};
  return bitmap && ::GetObjectW(bitmap, sizeof(info), &info) ? info.bmWidth : 0;
}

class MainDialogDpi : public test::MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    dpi = WindowDpi(dialog.hwnd());
  }
  int S(int pixels) const { return ScaleForDpi(pixels, dpi); }
  // Every movable child where the 96-DPI figure, scaled, puts it for the client size.
  void ExpectScaledLayout(int width, int height, const char* when) {
    for (const Figure& f : kFigures) {
      const RECT rect = RectInParent(Item(f.id));
      const int x = f.fromRight ? width - S(kBaseWidth - f.x) : S(f.x);
      const int y = f.fromBottom ? height - S(kBaseHeight - f.y) : S(f.y);
      EXPECT_EQ(rect.left, x) << when << ": control " << f.id << " at " << dpi;
      EXPECT_EQ(rect.top, y) << when << ": control " << f.id << " at " << dpi;
      EXPECT_EQ(rect.right - rect.left, S(f.width)) << when << ": control " << f.id << " at " << dpi;
      EXPECT_EQ(rect.bottom - rect.top, S(f.height)) << when << ": control " << f.id << " at " << dpi;
    }
    const RECT view = RectInParent(dialog.view().hwnd());
    EXPECT_EQ(view.top, S(75)) << when;
    EXPECT_EQ(view.bottom, height - S(72)) << when;
    EXPECT_EQ(view.right, width) << when;
    // The toolbar where the template puts it, mapped as the dialog manager maps it (place and
    // size apart) with the window's font, which follows the DPI.
    for (const auto& [id, units] : kToolbarUnits) {
      RECT place{units.left, units.top, 0, 0};
      RECT size{0, 0, units.right, units.bottom};
      ::MapDialogRect(dialog.hwnd(), &place);
      ::MapDialogRect(dialog.hwnd(), &size);
      const RECT rect = RectInParent(Item(id));
      EXPECT_EQ(rect.left, place.left) << when << ": control " << id << " at " << dpi;
      EXPECT_EQ(rect.top, place.top) << when << ": control " << id << " at " << dpi;
      EXPECT_EQ(rect.right - rect.left, size.right) << when << ": control " << id << " at " << dpi;
      EXPECT_EQ(rect.bottom - rect.top, size.bottom) << when << ": control " << id << " at " << dpi;
    }
  }

  // Quadrant pictures of 320 x 240 (larger than any box: a smaller one is never enlarged), in
  // the box the list holds, laid out and painted.
  void AddPhotos(int count) {
    for (int i = 0; i < count; ++i) {
      GpBitmapPtr picture = test::MakeQuadrantPicture(320, 240);
      dialog.photos().AppendAndSelect(
          std::make_unique<PhotoItem>(L"C:\\photo.png", picture.get(), dialog.photos().thumbnailBox()));
    }
    dialog.photos().ClearSelection();
    dialog.view().LayOutAndRepaint();
  }
  // Every thumbnail is `box` pixels wide, inside its cell, and shows on the screen with its
  // top left quadrant red and its bottom right one yellow.
  void ExpectThumbnailsDrawn(int box, const char* when) {
    ::RedrawWindow(dialog.view().hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    WindowDc dc(dialog.view().hwnd());
    const int viewDpi = dialog.view().dpi();
    for (const auto& item : dialog.photos().slots()) {
      const FrameRect frame = item->frameRect;
      EXPECT_EQ(frame.right - frame.left, box) << when << " at " << viewDpi;
      const CellBounds cell = CellAround(item->centreX, item->centreY, viewDpi);
      EXPECT_TRUE(frame.left > cell.left && frame.right < cell.right && frame.top > cell.top && frame.bottom < cell.bottom)
          << when << " at " << viewDpi;
      const int quarterX = (frame.right - frame.left) / 4;
      const int quarterY = (frame.bottom - frame.top) / 4;
      EXPECT_EQ(::GetPixel(dc.get(), frame.left + quarterX, frame.top + quarterY), RGB(255, 0, 0)) << when << " at " << viewDpi;
      EXPECT_EQ(::GetPixel(dc.get(), frame.right - quarterX, frame.bottom - quarterY), RGB(255, 255, 0))
          << when << " at " << viewDpi;
    }
  }

  int dpi = kBaseDpi;
};

TEST_F(MainDialogDpi, EveryFigureIsTheOneOf96DpiScaled) {
  if (const char* expected = std::getenv("FERNWICK_EXPECTED_DPI")) {
    ASSERT_EQ(dpi, std::atoi(expected)) << "the prefix's LogPixels did not reach the window";
  }
  EXPECT_EQ(dialog.dpi(), dpi);
  EXPECT_EQ(dialog.view().dpi(), dpi);

  // A real resize, so that the screenshot shows the window as it is laid out.
  test::SetClientSize(dialog.hwnd(), S(kBaseWidth), S(kBaseHeight + 60));
  test::PumpPendingMessages();
  RECT client{};
  ::GetClientRect(dialog.hwnd(), &client);
  ExpectScaledLayout(client.right, client.bottom, "resized");

  MINMAXINFO info{};
  ::SendMessageW(dialog.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, S(395));
  EXPECT_EQ(info.ptMinTrackSize.y, S(440));

  // The pictures drawn for this DPI: faces of 40, 60 or 80 pixels, the badge 52, 78 or 104 wide.
  for (int id : {ids::kAddButton, ids::kDeleteButton, ids::kSettingsButton}) {
    EXPECT_EQ(BitmapWidth(dialog.toolbarButton(id).face()), S(40)) << id;
  }
  EXPECT_EQ(BitmapWidth(dialog.photoSiteLink().bitmap()), S(52));

  // Two photos, prepared for the box the window gave the list: the cells and the thumbnails
  // follow the DPI too, and both are drawn where their cells are.
  EXPECT_EQ(dialog.photos().thumbnailBox(), S(100));
  AddPhotos(2);
  const PhotoItem& first = *dialog.photos().SlotAt(0);
  const PhotoItem& second = *dialog.photos().SlotAt(1);
  EXPECT_EQ(first.centreX, S(65));
  EXPECT_EQ(first.centreY, S(70));
  EXPECT_EQ(second.centreX - first.centreX, S(120));
  EXPECT_EQ(static_cast<int>(PictureWidth(test::ThumbnailPicture(first).get())), S(100))
      << "made for the box, not enlarged";
  ExpectThumbnailsDrawn(S(100), "added");

  if (const char* folder = std::getenv("FERNWICK_DPI_SCREENSHOT_DIR")) {
    // Wholly on the screen, which is read back only where it exists: at 192 DPI the window
    // centred for its template's size reaches past the bottom once it is made this large.
    ::SetWindowPos(dialog.hwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    test::PumpPendingMessages();
    const std::string path = std::string(folder) + "\\dpi-" + std::to_string(dpi) + ".png";
    EXPECT_TRUE(test::SaveScreenshot(dialog.hwnd(), std::wstring(path.begin(), path.end()))) << path;
  }
}

// Moved to a screen of another DPI, the window takes the suggested rectangle and lays itself
// out with the figures of the new DPI, in pictures drawn for it.
TEST_F(MainDialogDpi, FollowsAChangeOfDpi) {
  const int other = dpi == 192 ? 96 : 192;
  AddPhotos(1);
  RECT suggested{40, 30, 40 + ScaleForDpi(600, other), 30 + ScaleForDpi(500, other)};
  ::SendMessageW(dialog.hwnd(), WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&suggested));
  RECT window{};
  ::GetWindowRect(dialog.hwnd(), &window);
  EXPECT_TRUE(::EqualRect(&window, &suggested));
  EXPECT_EQ(dialog.dpi(), other);
  EXPECT_EQ(dialog.view().dpi(), other);
  EXPECT_EQ(BitmapWidth(dialog.toolbarButton(ids::kAddButton).face()), ScaleForDpi(40, other));
  EXPECT_EQ(BitmapWidth(dialog.toolbarButton(ids::kDeleteButton).face()), ScaleForDpi(40, other));
  EXPECT_EQ(BitmapWidth(dialog.photoSiteLink().bitmap()), ScaleForDpi(52, other));

  RECT client{};
  ::GetClientRect(dialog.hwnd(), &client);
  const RECT upload = RectInParent(Item(ids::kUploadButton));
  EXPECT_EQ(upload.left, client.right - ScaleForDpi(97, other));
  EXPECT_EQ(upload.top, client.bottom - ScaleForDpi(51, other));
  EXPECT_EQ(upload.right - upload.left, ScaleForDpi(75, other));
  const RECT view = RectInParent(dialog.view().hwnd());
  EXPECT_EQ(view.top, ScaleForDpi(75, other));
  // The photo already there is drawn in the new box; photos added later are made for it.
  EXPECT_EQ(dialog.photos().thumbnailBox(), ScaleForDpi(100, other));
  EXPECT_EQ(dialog.photos().SlotAt(0)->centreX, ScaleForDpi(65, other));
  ExpectThumbnailsDrawn(ScaleForDpi(100, other), "after the change");
}

}  // namespace
}  // namespace fernwick
