// The three upload wizard pages on their own: the photo-settings page's transfer and limit, the
// radio-group walk, the progress page's bars, Cancel and thumbnail, the done page's Back.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/done_page.h"
#include "app/photo_settings_page.h"
#include "app/progress_page.h"
#include "imaging/photo_item.h"
#include "support/photo_test_pictures.h"
#include "support/window_helpers.h"
#include "upload/upload_session.h"

namespace fernwick {
namespace {

// Its own WS_VISIBLE: the host window itself stays hidden unless a test paints.
bool Shown(HWND window) { return (::GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(window, message, wParam, lParam);
}

// A visible top-level window for the pages to live in, as the main window is for them.
class PageHost : public ::testing::Test {
 protected:
  void SetUp() override {
    host.reset(
        test::CreateTestWindow("FernwickPageHost", PlainProc, WS_OVERLAPPEDWINDOW, nullptr, 0, {0, 0, 640, 520}));
    ASSERT_TRUE(host);
  }
  UniqueWindow host;
};

// A batch that is never started, only cancelled: what the progress page reports Cancel to.
class IdleSessionHost : public SessionHost {
 public:
  HWND hwnd() const noexcept override { return nullptr; }
  std::shared_ptr<UiTaskChannel> uiTasks() const override { return nullptr; }
  void EnableOkAndBack(bool) noexcept override {}
  void CloseWindow() noexcept override {}
};

using PhotoSettingsPageTest = PageHost;

TEST_F(PhotoSettingsPageTest, StartsEmptyAndPublic) {
  PhotoSettingsPage page;
  ASSERT_TRUE(page.Create(host.get()));
  EXPECT_FALSE(Shown(page.hwnd()));
  EXPECT_EQ(page.tags(), L"");
  EXPECT_EQ(page.visibilityIndex(), 0);
  EXPECT_EQ(test::WindowText(page.Item(PhotoSettingsPage::kTagsEdit)), L"");
  EXPECT_EQ(::IsDlgButtonChecked(page.hwnd(), 1009), BST_CHECKED);
  EXPECT_EQ(::IsDlgButtonChecked(page.hwnd(), 1010), BST_UNCHECKED);
  EXPECT_EQ(::IsDlgButtonChecked(page.hwnd(), 1011), BST_UNCHECKED);
}

TEST_F(PhotoSettingsPageTest, TheTagsEditTakesFourHundredCharactersAndNoMore) {
  PhotoSettingsPage page;
  ASSERT_TRUE(page.Create(host.get()));
  HWND edit = page.Item(PhotoSettingsPage::kTagsEdit);
  EXPECT_EQ(::SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 400);
  for (int i = 0; i < 401; ++i) ::SendMessageA(edit, WM_CHAR, 'a' + i % 26, 0);
  EXPECT_EQ(::GetWindowTextLengthA(edit), 400);
}

struct TransferCase {
  int checked;  // control id, or 0 for none
  int index;
};
class SettingsTransferTest : public PageHost, public ::testing::WithParamInterface<TransferCase> {};

TEST_P(SettingsTransferTest, SavingReadsTheEditAndTheCheckedRadio) {
  PhotoSettingsPage page;
  ASSERT_TRUE(page.Create(host.get()));
  ::SetDlgItemTextA(page.hwnd(), PhotoSettingsPage::kTagsEdit, "海边  travel");
  for (int id = 1009; id <= 1011; ++id) ::CheckDlgButton(page.hwnd(), id, id == GetParam().checked);
  page.Transfer(true);
  EXPECT_EQ(page.tags(), L"海边  travel");
  EXPECT_EQ(page.visibilityIndex(), GetParam().index);
  // And back: emptied tags, the same radio.
  page.SetTags(L"");
  page.Transfer(false);
  EXPECT_EQ(test::WindowText(page.Item(PhotoSettingsPage::kTagsEdit)), L"");
  for (int id = 1009; id <= 1011; ++id) {
    EXPECT_EQ(::IsDlgButtonChecked(page.hwnd(), id) == BST_CHECKED, id == GetParam().checked) << id;
  }
}
INSTANTIATE_TEST_SUITE_P(Radios, SettingsTransferTest,
                         ::testing::Values(TransferCase{1009, 0}, TransferCase{1010, 1}, TransferCase{1011, 2},
                                           TransferCase{0, -1}));

// The walk stops at the next WS_GROUP and counts only radio buttons.
TEST_F(PageHost, RadioGroupWalkStopsAtTheNextGroupAndSkipsOtherControls) {
  auto make = [&](const char* cls, DWORD style, int id) {
    return ::CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 0, id * 20, 100, 18, host.get(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  };
  // Plain radio buttons: checking one leaves the others as they are.
  HWND first = make("BUTTON", BS_RADIOBUTTON | WS_GROUP, 1);
  HWND second = make("BUTTON", BS_RADIOBUTTON, 2);
  make("STATIC", 0, 3);
  make("BUTTON", BS_PUSHBUTTON, 4);
  HWND third = make("BUTTON", BS_RADIOBUTTON, 5);
  HWND nextGroup = make("BUTTON", BS_RADIOBUTTON | WS_GROUP, 6);
  ::SendMessageA(nextGroup, BM_SETCHECK, BST_CHECKED, 0);

  LoadRadioGroup(first, 2);
  EXPECT_EQ(::SendMessageA(first, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(::SendMessageA(second, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(::SendMessageA(third, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(::SendMessageA(nextGroup, BM_GETCHECK, 0, 0), BST_CHECKED);  // another group
  EXPECT_EQ(SaveRadioGroup(first), 2);

  // Saving takes the last checked one.
  ::SendMessageA(first, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SaveRadioGroup(first), 2);
  ::SendMessageA(third, BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(SaveRadioGroup(first), 0);
  ::SendMessageA(first, BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(SaveRadioGroup(first), -1);
  // An index past the group unchecks them all.
  ::SendMessageA(second, BM_SETCHECK, BST_CHECKED, 0);
  LoadRadioGroup(first, 7);
  EXPECT_EQ(SaveRadioGroup(first), -1);
}

using ProgressPageTest = PageHost;

TEST_F(ProgressPageTest, BothBarsCountThousandthsFromEmptyAndTheStatusIsEmptyAtFirst) {
  ProgressPage page;
  ASSERT_TRUE(page.Create(host.get()));
  EXPECT_EQ(page.upperBar(), page.Item(ProgressPage::kUpperBar));
  EXPECT_EQ(page.overallBar(), page.Item(ProgressPage::kOverallBar));
  for (HWND bar : {page.upperBar(), page.overallBar()}) {
    EXPECT_EQ(::SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 1000);
    EXPECT_EQ(::SendMessageA(bar, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
  }
  page.ShowShares(250, 40);
  EXPECT_EQ(::SendMessageA(page.upperBar(), PBM_GETPOS, 0, 0), 250);
  EXPECT_EQ(::SendMessageA(page.overallBar(), PBM_GETPOS, 0, 0), 40);
  EXPECT_EQ(test::WindowText(page.Item(ProgressPage::kStatusLine)), L"");
  EXPECT_EQ(page.currentItem(), nullptr);
}

// Cancel is tested at four levels, each owning one step: the page only raises the session's
// cancel (here); the session hands it to the worker (UploadSessionTest); the batch cuts off the
// photo in flight and names the rest (UploadBatchTest); the real program does all of it through
// its own window (ProgramUpload), and with a photo the server reads slowly or not at all, which
// only a separate process's connection shows (ProgramCancel).
TEST_F(ProgressPageTest, CancelOnlyCancelsTheSession) {
  IdleSessionHost sessionHost;
  UploadSession session(sessionHost, {});
  ProgressPage page;
  ASSERT_TRUE(page.Create(host.get()));
  page.SetSession(&session);
  ::ShowWindow(page.hwnd(), SW_SHOW);
  ASSERT_FALSE(session.cancelRequested());
  ::SendMessageA(page.hwnd(), WM_COMMAND, MAKEWPARAM(ProgressPage::kCancelButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(page.Item(ProgressPage::kCancelButton)));
  EXPECT_TRUE(session.cancelRequested());
  EXPECT_TRUE(Shown(page.hwnd()));
}

TEST_F(ProgressPageTest, ShowStatusWritesTheLine) {
  ProgressPage page;
  ASSERT_TRUE(page.Create(host.get()));
  page.ShowStatus(L"发送图片'海南'");
  EXPECT_EQ(page.statusText(), L"发送图片'海南'");
  EXPECT_EQ(test::WindowText(page.Item(ProgressPage::kStatusLine)), L"发送图片'海南'");
}

class ProgressThumbnailTest : public PageHost {
 protected:
  COLORREF PaintedAt(ProgressPage& page, int x, int y) {
    ::InvalidateRect(page.hwnd(), nullptr, TRUE);
    ::UpdateWindow(page.hwnd());
    test::PumpPendingMessages();
    WindowDc dc(page.hwnd());
    return ::GetPixel(dc.get(), x, y);
  }
};

TEST_F(ProgressThumbnailTest, ThePhotoBeingSentIsDrawnCentredOnItsPoint) {
  ::ShowWindow(host.get(), SW_SHOW);
  const std::wstring folder = test::FreshDirectory(L"progress_thumb");
  ASSERT_TRUE(test::WriteQuadrantPicture(folder + L"p.png", 200, 100, "png"));
  PhotoItem item(folder + L"p.png");
  IdleSessionHost sessionHost;
  UploadSession session(sessionHost, {});
  ProgressPage page;
  ASSERT_TRUE(page.Create(host.get()));
  page.SetSession(&session);
  ::ShowWindow(page.hwnd(), SW_SHOW);
  const COLORREF background = PaintedAt(page, 194 - 25, 70 - 12);

  page.SetCurrentItem(&item);
  // 200 x 100 fitted into 100: 100 x 50 around (194, 70); the quadrants around the centre.
  EXPECT_EQ(PaintedAt(page, 194 - 25, 70 - 12), RGB(255, 0, 0));
  EXPECT_EQ(PaintedAt(page, 194 + 25, 70 - 12), RGB(0, 192, 0));
  EXPECT_EQ(PaintedAt(page, 194 - 25, 70 + 12), RGB(0, 0, 255));
  EXPECT_EQ(PaintedAt(page, 194 + 25, 70 + 12), RGB(255, 255, 0));
  EXPECT_NE(background, RGB(255, 0, 0));

  // The next photo, tall: its place alone is drawn again, and nothing of the wide one stays.
  ASSERT_TRUE(test::WriteQuadrantPicture(folder + L"t.png", 100, 200, "png"));
  PhotoItem tall(folder + L"t.png");
  page.ShowCurrentItem(&tall);
  ::UpdateWindow(page.hwnd());
  test::PumpPendingMessages();
  {
    const WindowDc dc(page.hwnd());
    EXPECT_EQ(::GetPixel(dc.get(), 194 - 45, 70 - 20), background);
    EXPECT_EQ(::GetPixel(dc.get(), 194 - 12, 70 - 40), RGB(255, 0, 0));
  }

  // Once the batch is cancelled nothing is drawn.
  session.Cancel();
  EXPECT_EQ(PaintedAt(page, 194 - 25, 70 - 12), background);
}

using DonePageTest = PageHost;

TEST_F(DonePageTest, BackHidesThePageAndTheViewLinkStaysHidden) {
  DonePage page;
  ASSERT_TRUE(page.Create(host.get()));
  EXPECT_TRUE(page.viewLink().attached());
  EXPECT_FALSE(Shown(page.Item(DonePage::kViewLink)));
  ::ShowWindow(page.hwnd(), SW_SHOW);
  ASSERT_TRUE(Shown(page.hwnd()));
  ::SendMessageA(page.hwnd(), WM_COMMAND, DonePage::kBackButton, 0);
  EXPECT_FALSE(Shown(page.hwnd()));
  EXPECT_FALSE(Shown(page.Item(DonePage::kViewLink)));
}

}  // namespace
}  // namespace fernwick
