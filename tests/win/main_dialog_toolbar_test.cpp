// The toolbar of the main window: faces drawn from reflected draw requests, faces following
// the selection, tooltips; and the wheel, which only the thumbnail view may take.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "res/main_window_ids.h"
#include "support/pixels.h"
#include "support/test_main_dialog.h"

namespace fernwick {
namespace {

constexpr COLORREF kBackground = RGB(255, 0, 255);

class Toolbar : public test::MainDialogTest {
 protected:
  // Asks the main window to draw control `id` the way the system does, onto a canvas.
  test::Canvas DrawButton(int id, UINT itemState) {
    test::Canvas canvas(44, 44, kBackground);
    DRAWITEMSTRUCT item{ODT_BUTTON,  static_cast<UINT>(id), 0, ODA_DRAWENTIRE, itemState, Item(id),
                        canvas.dc(), {0, 0, 44, 44},        0};
    lastResult = ::SendMessageA(dialog.hwnd(), WM_DRAWITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&item));
    return canvas;
  }
  std::vector<COLORREF> Face(int id) { return test::ResourcePixels(id, 40, 40); }
  LRESULT lastResult = 0;
};

struct FaceCase {
  int button;
  int enabledFace;
  int disabledFace;  // 0: always enabled
};
constexpr FaceCase kFaces[] = {
    {ids::kAddButton, ids::kAddFace, 0},
    {ids::kDeleteButton, ids::kDeleteFace, ids::kDeleteFaceDisabled},
    {ids::kRotateLeftButton, ids::kRotateLeftFace, ids::kRotateLeftFaceDisabled},
    {ids::kRotateRightButton, ids::kRotateRightFace, ids::kRotateRightFaceDisabled},
    {ids::kSettingsButton, ids::kSettingsFace, 0},
};

TEST_F(Toolbar, TheFacesAreDistinctPictures) {
  for (const FaceCase& a : kFaces) {
    ASSERT_EQ(Face(a.enabledFace).size(), 1600u) << a.enabledFace;
    for (const FaceCase& b : kFaces) {
      if (a.button != b.button) {
        EXPECT_NE(Face(a.enabledFace), Face(b.enabledFace));
      }
    }
    if (a.disabledFace) {
      EXPECT_NE(Face(a.enabledFace), Face(a.disabledFace));
    }
  }
}

TEST_F(Toolbar, AReflectedDrawRequestDrawsTheCurrentFace) {
  for (const FaceCase& c : kFaces) {
    test::Canvas canvas = DrawButton(c.button, 0);
    EXPECT_EQ(lastResult, TRUE) << c.button;
    const int expected = c.disabledFace ? c.disabledFace : c.enabledFace;  // no selection yet
    EXPECT_EQ(test::CanvasPixels(canvas, 0, 0, 40, 40), Face(expected)) << "button " << c.button;
    EXPECT_EQ(canvas.At(41, 41), kBackground) << "nothing beyond the face";
  }
}

TEST_F(Toolbar, APushedButtonDrawsItsFaceOnePixelLowerAndFurtherRight) {
  test::Canvas canvas = DrawButton(ids::kAddButton, ODS_SELECTED);
  EXPECT_EQ(test::CanvasPixels(canvas, 1, 1, 40, 40), Face(ids::kAddFace));
  EXPECT_EQ(canvas.At(0, 0), kBackground);
  EXPECT_EQ(canvas.At(0, 20), kBackground);
  EXPECT_EQ(canvas.At(20, 0), kBackground);
}

TEST_F(Toolbar, FacesAndEnablingFollowTheSelection) {
  for (bool enable : {true, false, true}) {
    dialog.EnableSelectionButtons(enable);
    for (const FaceCase& c : kFaces) {
      if (!c.disabledFace) continue;
      EXPECT_EQ(::IsWindowEnabled(Item(c.button)) != FALSE, enable) << c.button;
      test::Canvas canvas = DrawButton(c.button, 0);
      EXPECT_EQ(test::CanvasPixels(canvas, 0, 0, 40, 40), Face(enable ? c.enabledFace : c.disabledFace))
          << "button " << c.button << (enable ? " enabled" : " disabled");
    }
  }
}

TEST_F(Toolbar, TheReplacedFaceIsDeleted) {
  HBITMAP before = dialog.toolbarButton(ids::kDeleteButton).face();
  ASSERT_NE(before, nullptr);
  dialog.EnableSelectionButtons(true);
  EXPECT_NE(dialog.toolbarButton(ids::kDeleteButton).face(), before);
  EXPECT_EQ(::GetObjectType(before), 0u) << "the old bitmap object is gone";
}

TEST_F(Toolbar, RepeatingTheSameStateChangesNothing) {
  dialog.EnableSelectionButtons(true);
  HBITMAP face = dialog.toolbarButton(ids::kRotateLeftButton).face();
  dialog.EnableSelectionButtons(true);
  EXPECT_EQ(dialog.toolbarButton(ids::kRotateLeftButton).face(), face);
}

struct TooltipCase {
  int button;
  const wchar_t* text;
};
constexpr TooltipCase kTooltips[] = {
    {ids::kAddButton, L"加入图片"},
    {ids::kDeleteButton, L"移除选中的图片"},
    {ids::kRotateLeftButton, L"反时针旋转选中的图片"},
    {ids::kRotateRightButton, L"顺时针旋转选中的图片"},
    {ids::kSettingsButton, L"切换用户、添加用户以及图片尺寸限制"},
};

TEST_F(Toolbar, EachButtonCarriesItsOwnTooltip) {
  for (const TooltipCase& c : kTooltips) {
    const ImageButton& button = dialog.toolbarButton(c.button);
    HWND tooltip = button.tooltipWindow();
    ASSERT_NE(tooltip, nullptr) << c.button;
    EXPECT_EQ(test::ClassName(tooltip), "tooltips_class32");
    EXPECT_EQ(::SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[200] = {};
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = dialog.hwnd();
    info.uId = reinterpret_cast<UINT_PTR>(Item(c.button));
    info.lpszText = text;
    ::SendMessageW(tooltip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(std::wstring(text), c.text) << c.button;
  }
}

TEST_F(Toolbar, TooltipsAppearWhenTheMouseRestsOverTheButtons) {
  dialog.EnableSelectionButtons(true);
  for (const TooltipCase& c : kTooltips) {
    RECT client{};
    ::GetClientRect(Item(c.button), &client);
    EXPECT_EQ(test::TooltipAfterResting(Item(c.button), POINT{client.right / 2, client.bottom / 2}), c.text)
        << c.button;
  }
}

// Counts the wheel messages that reach the thumbnail view.
LRESULT CALLBACK CountWheel(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR counter) {
  if (message == WM_MOUSEWHEEL) ++*reinterpret_cast<int*>(counter);
  return ::DefSubclassProc(window, message, wParam, lParam);
}

class Wheel : public test::MainDialogTest {
 protected:
  void SetUp() override {
    test::MainDialogTest::SetUp();
    ::SetWindowSubclass(dialog.view().hwnd(), &CountWheel, 1, reinterpret_cast<DWORD_PTR>(&received));
  }
  void TearDown() override { ::RemoveWindowSubclass(dialog.view().hwnd(), &CountWheel, 1); }
  LRESULT Roll(POINT screen) {
    return ::SendMessageA(dialog.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
  }
  int received = 0;
};

TEST_F(Wheel, OverTheViewReachesTheViewOnce) {
  EXPECT_EQ(Roll(test::ScreenCentre(dialog.view().hwnd())), 1);
  // The view passes the wheel back up to its parent; the guard stops it there.
  EXPECT_EQ(received, 1);
}

TEST_F(Wheel, OverAPageLyingHiddenOverTheViewStillReachesTheView) {
  EXPECT_EQ(Roll(test::ScreenCentre(dialog.settingsPage().hwnd())), 1);
  EXPECT_EQ(received, 1);
}

TEST_F(Wheel, OverTheToolbarGoesNowhere) {
  EXPECT_EQ(Roll(test::ScreenCentre(Item(ids::kAddButton))), 1);
  EXPECT_EQ(Roll(test::ScreenCentre(Item(ids::kUploadButton))), 1);
  EXPECT_EQ(received, 0);
}

TEST_F(Wheel, InThePhotoSettingsStateGoesNowhere) {
  dialog.photoCount = 1;
  dialog.EnterState(WindowState::kPhotoSettings);
  EXPECT_EQ(Roll(test::ScreenCentre(dialog.view().hwnd())), 1);
  EXPECT_EQ(received, 0);
}

}  // namespace
}  // namespace fernwick
