// The thumbnail view: grid layout, hit testing, click selection and the owner's buttons,
// tooltip texts, delete and rotate, scrolling, painting and the upload's list operations.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "imaging/picture_io.h"
#include "support/photo_test_pictures.h"
#include "support/window_helpers.h"
#include "thumbview/thumbnail_view.h"

namespace fernwick {
namespace {

using namespace Gdiplus::DllExports;

// An item made from a picture in memory, as if decoded from `name`.
std::unique_ptr<PhotoItem> MakeItem(int width, int height, const std::wstring& name = L"photo.jpg",
                                    int32_t fileSize = 1000) {
  GpBitmapPtr picture = test::MakeQuadrantPicture(width, height);
  auto item = std::make_unique<PhotoItem>(name, picture.get());
  item->sourcePath = name;
  item->fileSize = fileSize;
  return item;
}

class ThumbnailViewTest : public ::testing::Test {
 protected:
  void Fill(test::HostedView& host, int count, int width = 200, int height = 150) {
    for (int i = 0; i < count; ++i) host.photos.AppendAndSelect(MakeItem(width, height, L"p" + std::to_wstring(i)));
    host.view.Layout();
    host.owner.calls.clear();
  }
  LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }
};

TEST_F(ThumbnailViewTest, FourPerRowAt600) {
  test::HostedView host(600, 400);
  Fill(host, 5);
  const POINT want[] = {{65, 70}, {185, 70}, {305, 70}, {425, 70}, {65, 190}};
  for (unsigned i = 0; i < 5; ++i) {
    EXPECT_EQ(host.photos.SlotAt(i)->centreX, want[i].x) << i;
    EXPECT_EQ(host.photos.SlotAt(i)->centreY, want[i].y) << i;
  }
  EXPECT_EQ(test::ScrollContentSize(host.view.hwnd()).cx, 580);
  EXPECT_EQ(test::ScrollContentSize(host.view.hwnd()).cy, 260);
  // The frame follows the centre: 200 x 150 shows as 100 x 75 (-50 .. 50, -37 .. 37).
  EXPECT_EQ(host.photos.SlotAt(4)->frameRect, (FrameRect{15, 153, 115, 227}));
}

TEST_F(ThumbnailViewTest, FivePerRowAt605) {
  test::HostedView host(605, 400);
  Fill(host, 6);
  EXPECT_EQ(host.photos.SlotAt(4)->centreX, 545);
  EXPECT_EQ(host.photos.SlotAt(4)->centreY, 70);
  EXPECT_EQ(host.photos.SlotAt(5)->centreX, 65);
  EXPECT_EQ(host.photos.SlotAt(5)->centreY, 190);
}

TEST_F(ThumbnailViewTest, CellsStayBesideTheVerticalScrollBar) {
  // Five columns fit 605 pixels, but not beside the bar that thirty photos need.
  test::HostedView host(605, 300);
  Fill(host, 30);
  RECT client{};
  ::GetClientRect(host.view.hwnd(), &client);
  ASSERT_LT(client.right, 605);
  for (unsigned i = 0; i < host.photos.Count(); ++i) EXPECT_LE(host.photos.SlotAt(i)->centreX + 60, client.right) << i;
  EXPECT_EQ(host.photos.SlotAt(4)->centreX, 65);
  EXPECT_EQ(test::ScrollContentSize(host.view.hwnd()).cx, client.right - 20);
  // Back to a few photos: the bar goes and five fit again.
  while (host.photos.Count() > 5) {
    ::SendMessageA(host.view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(65, 70));
    host.view.RemoveSelected();
  }
  host.view.Layout();
  EXPECT_EQ(host.photos.SlotAt(4)->centreX, 545);
}

TEST_F(ThumbnailViewTest, EmptyListIsPlainWindowColour) {
  test::HostedView host(400, 300);
  host.view.Layout();
  EXPECT_EQ(test::ScrollContentSize(host.view.hwnd()).cx, 380);
  EXPECT_EQ(test::ScrollContentSize(host.view.hwnd()).cy, 140);
  EXPECT_EQ(host.photos.Count(), 0u);
  for (POINT p : {POINT{5, 5}, POINT{65, 70}, POINT{399, 299}}) {
    EXPECT_EQ(test::PaintedPixel(host.view, p.x, p.y), ::GetSysColor(COLOR_WINDOW));
  }
}

TEST_F(ThumbnailViewTest, HitTestCountsOnlyTheThumbnailsOwnBox) {
  test::HostedView host(600, 400);
  Fill(host, 2);  // first box 15..115 x 33..107 (left/top inclusive)
  PhotoItem* first = host.photos.SlotAt(0);
  EXPECT_EQ(host.view.HitTest(65, 70), first);
  EXPECT_EQ(host.view.HitTest(15, 33), first);
  EXPECT_EQ(host.view.HitTest(114, 106), first);
  EXPECT_EQ(host.view.HitTest(115, 70), nullptr);
  EXPECT_EQ(host.view.HitTest(65, 107), nullptr);
  EXPECT_EQ(host.view.HitTest(13, 70), nullptr);   // in the 4-pixel margin
  EXPECT_EQ(host.view.HitTest(11, 70), nullptr);   // on the frame
  EXPECT_EQ(host.view.HitTest(125, 70), nullptr);  // between cells
  EXPECT_EQ(host.view.HitTest(185, 70), host.photos.SlotAt(1));
}

TEST_F(ThumbnailViewTest, ClickSelectsAndTellsTheOwner) {
  test::HostedView host(600, 400);
  Fill(host, 3);
  ::SendMessageA(host.view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At({185, 70}));
  EXPECT_EQ(host.photos.selection(), host.photos.SlotAt(1));
  EXPECT_TRUE(host.photos.SlotAt(1)->selected);
  EXPECT_FALSE(host.photos.SlotAt(2)->selected);
  ::SendMessageA(host.view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At({65, 70}));
  EXPECT_EQ(host.photos.selection(), host.photos.SlotAt(0));
  EXPECT_FALSE(host.photos.SlotAt(1)->selected);
  EXPECT_EQ(host.owner.calls, (std::vector<bool>{true, true}));
  // Two pixels outside the box, inside its frame margin: nothing is selected any more.
  ::SendMessageA(host.view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At({13, 70}));
  EXPECT_EQ(host.photos.selection(), nullptr);
  EXPECT_FALSE(host.photos.SlotAt(0)->selected);
  EXPECT_EQ(host.owner.calls, (std::vector<bool>{true, true, false}));
}

TEST_F(ThumbnailViewTest, SelectionFrameIsPaintedInItsColour) {
  test::HostedView host(600, 400);
  Fill(host, 2);  // the last one added is selected
  const int leftFrame = host.photos.SlotAt(0)->frameRect.left - 4;
  EXPECT_EQ(test::PaintedPixel(host.view, leftFrame, 70), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(test::PaintedPixel(host.view, leftFrame + 120, 70), kSelectedFrameColour);
  ::SendMessageA(host.view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At({65, 70}));
  EXPECT_EQ(test::PaintedPixel(host.view, leftFrame, 70), kSelectedFrameColour);
  EXPECT_EQ(test::PaintedPixel(host.view, leftFrame + 120, 70), ::GetSysColor(COLOR_BTNFACE));
  // The picture itself: red at the top left of the first thumbnail.
  const COLORREF red = test::PaintedPixel(host.view, 40, 50);
  EXPECT_GT(GetRValue(red), 200);
  EXPECT_LT(GetGValue(red), 60);
}

std::string TooltipText(test::HostedView& host) {
  char text[128] = {};
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  // The view registers one tool.
  if (!::SendMessageA(host.view.tooltip(), TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool))) return "(no tool)";
  tool.lpszText = text;
  ::SendMessageA(host.view.tooltip(), TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
  return text;
}

TEST_F(ThumbnailViewTest, TooltipShowsTheSizeOfThePhotoUnderTheMouse) {
  test::HostedView host(600, 400);
  ASSERT_NE(host.view.tooltip(), nullptr);
  EXPECT_EQ(TooltipText(host), "图片");
  host.photos.AppendAndSelect(MakeItem(3000, 2000, L"big.jpg", 1500000));
  host.photos.AppendAndSelect(MakeItem(640, 480, L"small.jpg", 0));
  host.view.Layout();
  ::SendMessageA(host.view.hwnd(), WM_MOUSEMOVE, 0, At({65, 70}));
  EXPECT_EQ(TooltipText(host), " 3000 x 2000, 1465 KB ");
  ::SendMessageA(host.view.hwnd(), WM_MOUSEMOVE, 0, At({185, 70}));
  EXPECT_EQ(TooltipText(host), " 640 x 480, 1 KB ");
  ::SendMessageA(host.view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At({65, 70}));
  host.view.RotateSelected(true);
  ::SendMessageA(host.view.hwnd(), WM_MOUSEMOVE, 0, At({65, 70}));
  EXPECT_EQ(TooltipText(host), " 2000 x 3000, 1465 KB ");
  // Away from every photo the text stays, but the tip is switched off.
  ::SendMessageA(host.view.hwnd(), WM_MOUSEMOVE, 0, At({300, 300}));
  EXPECT_EQ(TooltipText(host), " 2000 x 3000, 1465 KB ");
}

// Whether the tip window comes up while the mouse rests at `point` of the view (the real
// cursor, as the tip checks where it is before appearing); the tip is taken down afterwards.
bool TipAppearsAt(test::HostedView& host, POINT point) {
  HWND tip = host.view.tooltip();
  POINT onScreen = point;
  ::ClientToScreen(host.view.hwnd(), &onScreen);
  ::SetCursorPos(onScreen.x, onScreen.y);
  ::SendMessageA(host.view.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
  for (int i = 0; i < 30 && !::IsWindowVisible(tip); ++i) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    test::PumpMessages();
  }
  const bool shown = ::IsWindowVisible(tip) != FALSE;
  ::SendMessageA(tip, TTM_POP, 0, 0);
  return shown;
}

TEST_F(ThumbnailViewTest, TipAppearsOnlyOverAPhoto) {
  test::HostedView host(600, 400);
  // The tip appears only for tools of the active window.
  ::ShowWindow(host.owner.hwnd(), SW_SHOW);
  ::SetForegroundWindow(host.owner.hwnd());
  ::SetActiveWindow(host.owner.hwnd());
  ::UpdateWindow(host.owner.hwnd());
  ::SendMessageA(host.view.tooltip(), TTM_SETDELAYTIME, TTDT_INITIAL, 1);
  struct TipCase {
    const char* name;
    bool withPhoto;
    POINT point;
    bool appears;
  };
  const TipCase cases[] = {
      {"empty view", false, {65, 70}, false},        {"over the photo", true, {65, 70}, true},
      {"beside the photo", true, {300, 300}, false}, {"back over the photo", true, {60, 60}, true},
      {"away again", true, {300, 60}, false},
  };
  for (const TipCase& c : cases) {
    if (c.withPhoto && host.photos.Count() == 0) {
      host.photos.AppendAndSelect(MakeItem(300, 200, L"a.jpg", 5000));
      host.view.Layout();
    }
    EXPECT_EQ(TipAppearsAt(host, c.point), c.appears) << c.name;
  }
  ::ShowWindow(host.owner.hwnd(), SW_HIDE);
}

TEST_F(ThumbnailViewTest, TooltipGoesWithTheViewWindow) {
  test::HostedView host(400, 300);
  HWND tip = host.view.tooltip();
  ASSERT_TRUE(::IsWindow(tip));
  // The tip's owner is the top-level window, which lives on after the view.
  ::DestroyWindow(host.view.hwnd());
  ASSERT_TRUE(::IsWindow(host.owner.hwnd()));
  EXPECT_FALSE(::IsWindow(tip));
  EXPECT_EQ(host.view.tooltip(), nullptr);
}

TEST_F(ThumbnailViewTest, WheelUpdatesTheTooltipForThePhotoUnderTheCursor) {
  // The wheel reports the cursor in screen coordinates.
  test::HostedView host(600, 400);
  host.photos.AppendAndSelect(MakeItem(300, 200, L"a.jpg", 5000));
  host.photos.AppendAndSelect(MakeItem(200, 300, L"b.jpg", 9000));
  host.view.Layout();
  ::MoveWindow(host.owner.hwnd(), 150, 120, 700, 500, FALSE);
  POINT onSecond{185, 70};
  ::ClientToScreen(host.view.hwnd(), &onSecond);
  ::SendMessageA(host.view.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), At(onSecond));
  EXPECT_EQ(TooltipText(host), " 200 x 300, 9 KB ");
}

TEST_F(ThumbnailViewTest, RemoveSelectedLaysOutAgain) {
  test::HostedView host(600, 300);
  Fill(host, 10);
  ::SendMessageA(host.view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At({185, 70}));
  PhotoItem* third = host.photos.SlotAt(2);
  ::SendMessageA(host.view.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_GT(host.view.ScrollOffset().y, 0);
  host.owner.calls.clear();
  host.view.RemoveSelected();
  EXPECT_EQ(host.photos.Count(), 9u);
  EXPECT_EQ(host.photos.selection(), nullptr);
  EXPECT_EQ(host.photos.SlotAt(1), third);
  EXPECT_EQ(third->centreX, 185);
  EXPECT_EQ(host.view.ScrollOffset().y, 0);
  EXPECT_EQ(host.owner.calls, (std::vector<bool>{false}));
  // Without a selection nothing happens.
  host.view.RemoveSelected();
  EXPECT_EQ(host.photos.Count(), 9u);
  EXPECT_EQ(host.owner.calls, (std::vector<bool>{false}));
}

TEST_F(ThumbnailViewTest, RotateTurnsOnlyTheSelectedPhotoAndKeepsTheScroll) {
  test::HostedView host(600, 300);
  Fill(host, 10);
  ::SendMessageA(host.view.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
  const POINT scrolled = host.view.ScrollOffset();
  const SIZE content = test::ScrollContentSize(host.view.hwnd());
  PhotoItem* last = host.photos.selection();
  const FrameRect before = last->frameRect;
  host.view.RotateSelected(false);
  EXPECT_EQ(last->angle, -90);
  EXPECT_EQ(last->frameRect.right - last->frameRect.left, before.bottom - before.top);
  EXPECT_EQ(host.view.ScrollOffset().y, scrolled.y);
  EXPECT_EQ(test::ScrollContentSize(host.view.hwnd()).cy, content.cy);
  EXPECT_EQ(host.photos.SlotAt(0)->angle, 0);
  EXPECT_EQ(host.photos.SlotAt(0)->centreX, 65);
  host.photos.ClearSelection();
  host.view.RotateSelected(true);  // no selection: nothing
  EXPECT_EQ(last->angle, -90);
}

TEST_F(ThumbnailViewTest, TurnedThumbnailIsPaintedTurned) {
  test::HostedView host(600, 300);
  Fill(host, 1);  // 100 x 75 at (65, 70)
  host.view.RotateSelected(true);
  // Red (top left) is now at the top right of a 75 x 100 thumbnail.
  const COLORREF topRight = test::PaintedPixel(host.view, 80, 35);
  EXPECT_GT(GetRValue(topRight), 200);
  EXPECT_LT(GetBValue(topRight), 60);
  const COLORREF topLeft = test::PaintedPixel(host.view, 50, 35);
  EXPECT_GT(GetBValue(topLeft), 200);
}

TEST_F(ThumbnailViewTest, ScrollingMovesThePaintedGrid) {
  test::HostedView host(600, 300);
  Fill(host, 40);  // 10 rows: content 1220 high
  EXPECT_EQ(test::ScrollContentSize(host.view.hwnd()).cy, 70 + 9 * 120 + 70);
  ::SendMessageA(host.view.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(host.view.ScrollOffset().y, 12);  // a hundredth of the content
  ::SendMessageA(host.view.hwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(host.view.ScrollOffset().y, 12 + 122);
  ::SendMessageA(host.view.hwnd(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(host.view.ScrollOffset().y, 0);
  ::SendMessageA(host.view.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  EXPECT_EQ(host.view.ScrollOffset().y, 36);  // three lines
  ::SendMessageA(host.view.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(host.view.ScrollOffset().y, 0);
  ::SendMessageA(host.view.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
  RECT client{};
  ::GetClientRect(host.view.hwnd(), &client);
  EXPECT_EQ(host.view.ScrollOffset().y, 1220 - client.bottom);
  // The last row is painted where the scroll puts it: red at the top left of photo 37.
  const PhotoItem* item = host.photos.SlotAt(36);
  const int y = item->centreY - 20 - host.view.ScrollOffset().y;
  const COLORREF red = test::PaintedPixel(host.view, item->centreX - 25, y);
  EXPECT_GT(GetRValue(red), 200);
  EXPECT_LT(GetGValue(red), 60);
  // A click there selects that photo: the click point counts with the scroll offset.
  ::SendMessageA(host.view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At({item->centreX, y}));
  EXPECT_EQ(host.photos.selection(), item);
}

TEST_F(ThumbnailViewTest, IdleTimeDrawsTheCellsANotchEitherWayWouldShow) {
  test::HostedView host(600, 300);
  Fill(host, 400);  // 100 rows of four
  const int32_t notch = 3 * (test::ScrollContentSize(host.view.hwnd()).cy / 100);
  const auto barColumn = [&] {  // the vertical bar as drawn, down its middle
    RECT window{};
    ::GetWindowRect(host.view.hwnd(), &window);
    HDC dc = ::GetWindowDC(host.view.hwnd());
    std::vector<COLORREF> column;
    for (int y = 0; y < window.bottom - window.top; ++y) {
      column.push_back(::GetPixel(dc, window.right - window.left - ::GetSystemMetrics(SM_CXVSCROLL) / 2, y));
    }
    ::ReleaseDC(host.view.hwnd(), dc);
    return column;
  };
  ::ShowWindow(::GetAncestor(host.view.hwnd(), GA_ROOT), SW_SHOWNOACTIVATE);  // on the screen, to be read
  test::PumpMessages();
  const std::vector<COLORREF> barBefore = barColumn();
  for (int i = 0; i < 5; ++i)
    ::SendMessageA(host.view.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  const int32_t shown = host.view.ScrollOffset().y;
  ASSERT_EQ(shown, 5 * notch);
  for (int i = 0; i < 500 && host.view.drawingAhead(); ++i) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    test::PumpMessages();
  }
  ASSERT_FALSE(host.view.drawingAhead());
  test::PumpMessages();
  EXPECT_NE(barColumn(), barBefore) << "the bar is drawn where the notches put it once idle";
  RECT client{};
  ::GetClientRect(host.view.hwnd(), &client);
  int held = 0;
  for (const int32_t top : {shown - notch, shown + notch}) {
    for (const auto& item : host.photos.slots()) {
      const CellBounds cell = CellAround(item->centreX, item->centreY);
      if (!CellMeets(cell, 0, top, client.right, client.bottom)) continue;
      EXPECT_TRUE(host.view.cells().Holds(*item, cell)) << item->sourcePath << " for " << top;
      ++held;
    }
  }
  EXPECT_GE(held, 2 * 3 * 4);  // at least three rows of four each way
}

TEST_F(ThumbnailViewTest, TheCellsBitmapsAreMadeAtTheLayoutAndPaintingMakesNoMore) {
  test::HostedView host(600, 300);
  Fill(host, 400);
  const std::size_t made = host.view.cells().Bytes();
  EXPECT_GE(made, std::size_t{3 * 4 * 4} * 120 * 120 * 4);  // three screens of four rows of four
  ::ShowWindow(::GetAncestor(host.view.hwnd(), GA_ROOT), SW_SHOWNOACTIVATE);
  for (int i = 0; i < 5; ++i) ::SendMessageA(host.view.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  ASSERT_TRUE(test::PumpUntil([&] { return !host.view.drawingAhead(); }));
  EXPECT_GT(host.view.cells().size(), std::size_t{3 * 4 * 4});
  EXPECT_EQ(host.view.cells().Bytes(), made);
  // The list emptied, the layout lets them go.
  for (std::size_t slot = 0; slot < host.photos.Count(); ++slot) host.photos.DetachUploaded(slot);
  host.photos.RemoveEmptySlots();
  host.view.Layout();
  EXPECT_EQ(host.view.cells().Bytes(), 0u);
}

TEST_F(ThumbnailViewTest, AThousandPhotosStillShowTheirGrid) {
  test::HostedView host(700, 400);
  for (int i = 0; i < 1000; ++i) host.photos.AppendAndSelect(MakeItem(i % 2 ? 120 : 90, i % 2 ? 90 : 120));
  host.view.Layout();
  EXPECT_EQ(test::ScrollContentSize(host.view.hwnd()).cy, 70 + 199 * 120 + 70);
  ::SendMessageA(host.view.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
  const PhotoItem* last = host.photos.SlotAt(999);
  const int y = last->centreY - host.view.ScrollOffset().y;
  ASSERT_GT(y, 0);
  ASSERT_LT(y, 400);
  EXPECT_EQ(test::PaintedPixel(host.view, last->frameRect.left - 4, y), kSelectedFrameColour);
  const COLORREF yellow = test::PaintedPixel(host.view, last->centreX + 20, y + 20);
  EXPECT_GT(GetRValue(yellow), 200);
  EXPECT_GT(GetGValue(yellow), 200);
}

TEST_F(ThumbnailViewTest, UploadListOperations) {
  test::HostedView host(600, 400);
  Fill(host, 4);
  PhotoItem* second = host.photos.SlotAt(1);
  // Detaching an unselected item leaves an empty slot and the selection alone.
  host.photos.DetachUploaded(0);
  EXPECT_EQ(host.photos.Count(), 4u);
  EXPECT_EQ(host.photos.SlotAt(0), nullptr);
  EXPECT_EQ(host.photos.selection(), host.photos.SlotAt(3));
  EXPECT_TRUE(host.owner.calls.empty());
  // Empty slots are skipped by the layout and the hit test.
  host.view.Layout();
  EXPECT_EQ(second->centreX, 65);
  EXPECT_EQ(host.view.HitTest(65, 70), second);
  // Detaching the selected item clears the selection.
  host.photos.DetachUploaded(3);
  EXPECT_EQ(host.photos.selection(), nullptr);
  EXPECT_EQ(host.owner.calls, (std::vector<bool>{false}));
  host.photos.DetachUploaded(3);  // already empty
  host.photos.DetachUploaded(99);
  host.photos.RemoveEmptySlots();
  EXPECT_EQ(host.photos.Count(), 2u);
  EXPECT_EQ(host.photos.SlotAt(0), second);
  // ClearSelection without a selection does not call the owner.
  host.photos.ClearSelection();
  EXPECT_EQ(host.owner.calls, (std::vector<bool>{false}));
  ::SendMessageA(host.view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At({65, 70}));
  host.photos.ClearSelection();
  EXPECT_EQ(host.owner.calls, (std::vector<bool>{false, true, false}));
  EXPECT_FALSE(second->selected);
  // Every photo uploaded: the list is empty and nothing is selected.
  host.photos.DetachUploaded(0);
  host.photos.DetachUploaded(1);
  host.photos.RemoveEmptySlots();
  EXPECT_EQ(host.photos.Count(), 0u);
  EXPECT_EQ(host.photos.selection(), nullptr);
}

TEST_F(ThumbnailViewTest, AnAppendedPhotoRepaintsOnlyItsCellAndTheOldSelectionAndKeepsTheScroll) {
  test::HostedView host(600, 300);
  Fill(host, 10);  // three rows, taller than the view
  // Only a window on screen has parts waiting to be painted.
  ::ShowWindow(host.owner.hwnd(), SW_SHOWNOACTIVATE);
  ::SendMessageA(host.view.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
  const int32_t top = host.view.ScrollOffset().y;
  ASSERT_GT(top, 0);
  auto waiting = [&](size_t slot) {
    // Whether the cell's middle waits to be painted again.
    UniqueHRgn region(::CreateRectRgn(0, 0, 0, 0));
    ::GetUpdateRgn(host.view.hwnd(), region.get(), FALSE);
    const PhotoItem* item = host.photos.SlotAt(slot);
    return ::PtInRegion(region.get(), item->centreX, item->centreY - top) != FALSE;
  };
  struct Case {
    size_t count;  // photos in the list after the append
    int32_t contentHeight;
  };
  for (const Case& c : {Case{11, 380}, Case{13, 500}}) {
    SCOPED_TRACE(c.count);
    ::UpdateWindow(host.view.hwnd());  // every cell in view drawn and kept
    const size_t selected = host.photos.Count() - 1;
    while (host.photos.Count() < c.count) host.photos.AppendAndSelect(MakeItem(200, 150));
    host.view.ShowAppended();
    EXPECT_EQ(host.view.ScrollOffset().y, top);
    EXPECT_EQ(test::ScrollContentSize(host.view.hwnd()).cy, c.contentHeight);
    SCROLLINFO info{sizeof(info), SIF_RANGE};
    ::GetScrollInfo(host.view.hwnd(), SB_VERT, &info);
    EXPECT_EQ(info.nMax, c.contentHeight - 1);
    EXPECT_EQ(host.photos.SlotAt(c.count - 1)->centreY, c.contentHeight - 70);
    EXPECT_TRUE(waiting(selected));      // its frame goes plain
    EXPECT_TRUE(waiting(selected + 1));  // the first new photo, in view
    EXPECT_FALSE(waiting(5));
  }
  EXPECT_EQ(test::PaintedPixel(host.view, host.photos.SlotAt(9)->frameRect.left - 4, 310 - top),
            ::GetSysColor(COLOR_BTNFACE));
  // The appended photos took the places a whole layout gives them.
  std::vector<POINT> appended;
  for (const auto& item : host.photos.slots()) appended.push_back({item->centreX, item->centreY});
  host.view.Layout();
  for (size_t i = 0; i < appended.size(); ++i) EXPECT_EQ(host.photos.SlotAt(i)->centreX, appended[i].x) << i;
  for (size_t i = 0; i < appended.size(); ++i) EXPECT_EQ(host.photos.SlotAt(i)->centreY, appended[i].y) << i;
}

TEST_F(ThumbnailViewTest, AppendingMovesTheSelectionToTheNewestPhoto) {
  test::HostedView host(600, 400);
  host.photos.AppendAndSelect(MakeItem(50, 50, L"a"));
  host.photos.AppendAndSelect(MakeItem(50, 50, L"b"));
  EXPECT_FALSE(host.photos.SlotAt(0)->selected);
  EXPECT_TRUE(host.photos.SlotAt(1)->selected);
  EXPECT_EQ(host.owner.calls, (std::vector<bool>{true, true}));
  EXPECT_EQ(host.photos.TakeFileNumber(), 1001);
  EXPECT_EQ(host.photos.TakeFileNumber(), 1002);
  EXPECT_EQ(host.photos.TakeFileNumber(), 1003);
}

}  // namespace
}  // namespace fernwick
