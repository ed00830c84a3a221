// The main window's layout on resize, its minimum size and its pages' places.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "res/main_window_ids.h"
#include "base/program_state.h"
#include "support/test_main_dialog.h"

namespace fernwick {
namespace {

using test::RectInParent;

struct Placed {
  int x, y, width, height;
};

void ExpectAt(HWND window, Placed expected, const char* what) {
  const RECT rect = RectInParent(window);
  EXPECT_EQ(rect.left, expected.x) << what;
  EXPECT_EQ(rect.top, expected.y) << what;
  EXPECT_EQ(rect.right - rect.left, expected.width) << what;
  EXPECT_EQ(rect.bottom - rect.top, expected.height) << what;
}

class MainLayout : public test::MainDialogTest {
 protected:
  void Resize(int width, int height) {
    ::SendMessageA(dialog.hwnd(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
  }
};

TEST_F(MainLayout, AtClientHeight400TheViewIs253HighAndTheButtonsSitAt349) {
  Resize(500, 400);
  ExpectAt(dialog.view().hwnd(), {0, 75, 500, 253}, "view");
  ExpectAt(Item(ids::kUploadButton), {403, 349, 75, 24}, "Upload");
  ExpectAt(Item(ids::kBackButton), {403, 349, 75, 24}, "Back");
  ExpectAt(Item(ids::kOkButton), {310, 349, 75, 24}, "OK");
  ExpectAt(Item(ids::kQuotaLine), {10, 383, 200, 12}, "quota line");
  ExpectAt(Item(ids::kPhotoSiteLink), {12, 348, 52, 17}, "hyperlink image");
}

TEST_F(MainLayout, FollowsTheRightAndBottomEdges) {
  Resize(800, 600);
  ExpectAt(dialog.view().hwnd(), {0, 75, 800, 453}, "view");
  ExpectAt(Item(ids::kUploadButton), {703, 549, 75, 24}, "Upload");
  ExpectAt(Item(ids::kOkButton), {610, 549, 75, 24}, "OK");
  ExpectAt(Item(ids::kQuotaLine), {10, 583, 200, 12}, "quota line");
  ExpectAt(Item(ids::kPhotoSiteLink), {12, 548, 52, 17}, "hyperlink image");
}

TEST_F(MainLayout, ToolbarAndUserLineKeepTheirTemplatePlaces) {
  const int ids[] = {ids::kAddButton,         ids::kDeleteButton,   ids::kRotateLeftButton,
                     ids::kRotateRightButton, ids::kSettingsButton, ids::kCurrentUserLine};
  RECT before[6];
  for (int i = 0; i < 6; ++i) before[i] = RectInParent(Item(ids[i]));
  Resize(900, 700);
  for (int i = 0; i < 6; ++i) {
    const RECT after = RectInParent(Item(ids[i]));
    EXPECT_TRUE(::EqualRect(&before[i], &after)) << "control " << ids[i];
  }
}

TEST_F(MainLayout, DuringAnUploadTheViewStaysWhereItWasUntilThePhotoListReturns) {
  Resize(500, 400);
  dialog.EnterState(WindowState::kProgress);
  Resize(700, 500);
  ExpectAt(dialog.view().hwnd(), {0, 75, 500, 253}, "view");
  ExpectAt(Item(ids::kUploadButton), {603, 449, 75, 24}, "Upload moves");
  ExpectAt(Item(ids::kQuotaLine), {10, 483, 200, 12}, "quota line moves");
  // Back on the photo list, the view takes the place the window's client area gives it.
  dialog.EnterState(WindowState::kPhotoList);
  RECT client{};
  ::GetClientRect(dialog.hwnd(), &client);
  ASSERT_NE(client.right, 500);
  ExpectAt(dialog.view().hwnd(), {0, 75, client.right, client.bottom - 147}, "view laid out on return");
}

TEST_F(MainLayout, AMinimisedWindowKeepsItsLayout) {
  Resize(500, 400);
  ::SendMessageA(dialog.hwnd(), WM_SIZE, SIZE_MINIMIZED, 0);
  ExpectAt(dialog.view().hwnd(), {0, 75, 500, 253}, "view");
}

TEST_F(MainLayout, TheWindowStartsLaidOutForItsOwnClientArea) {
  RECT client{};
  ::GetClientRect(dialog.hwnd(), &client);
  ExpectAt(dialog.view().hwnd(), {0, 75, client.right, client.bottom - 147}, "view");
  ExpectAt(Item(ids::kUploadButton), {client.right - 97, client.bottom - 51, 75, 24}, "Upload");
}

TEST_F(MainLayout, PagesAreCentredOverTheClientAreaAfterAResize) {
  test::SetClientSize(dialog.hwnd(), 700, 560);
  test::PumpPendingMessages();
  RECT client{};
  ::GetClientRect(dialog.hwnd(), &client);
  ASSERT_EQ(client.right, 700);
  for (HWND page : {dialog.settingsPage().hwnd(), dialog.progressPage().hwnd(), dialog.donePage()->hwnd()}) {
    const RECT rect = RectInParent(page);
    EXPECT_LE(std::abs((rect.left + rect.right) - client.right), 1);
    EXPECT_LE(std::abs((rect.top + rect.bottom) - client.bottom), 1);
  }
}

TEST_F(MainLayout, MinimumTrackingSizeIs395By440AndThereIsNoMaximum) {
  MINMAXINFO info{};
  info.ptMaxTrackSize = {12345, 23456};
  info.ptMaxSize = {3456, 4567};
  ::SendMessageA(dialog.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 395);
  EXPECT_EQ(info.ptMinTrackSize.y, 440);
  EXPECT_EQ(info.ptMaxTrackSize.x, 12345);
  EXPECT_EQ(info.ptMaxTrackSize.y, 23456);
  EXPECT_EQ(info.ptMaxSize.x, 3456);
}

TEST_F(MainLayout, ShrinkingStopsAtTheMinimumSize) {
  // The system asks the window for its limits while the user drags a border; a drag ends in
  // the size that WM_GETMINMAXINFO allowed, which SetWindowPos applies the same way here.
  ::SetWindowPos(dialog.hwnd(), nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
  RECT rect{};
  ::GetWindowRect(dialog.hwnd(), &rect);
  EXPECT_GE(rect.right - rect.left, 395);
  EXPECT_GE(rect.bottom - rect.top, 440);
}

}  // namespace
}  // namespace fernwick
