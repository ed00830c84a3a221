// The main window's states, focus rules, notices and the close question.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/main_window_ids.h"
#include "accounts/settings_file.h"
#include "support/account_test_support.h"
#include "support/test_files.h"
#include "support/test_main_dialog.h"

namespace fernwick {
namespace {

constexpr int kPhotoListControls[] = {ids::kAddButton,         ids::kDeleteButton,   ids::kRotateLeftButton,
                                      ids::kRotateRightButton, ids::kSettingsButton, ids::kUploadButton,
                                      ids::kCurrentUserLine,   ids::kPhotoSiteLink};

class MainStates : public test::MainDialogTest {
 protected:
  void ExpectPhotoListState() {
    EXPECT_TRUE(Visible(dialog.view().hwnd()));
    for (int id : kPhotoListControls) EXPECT_TRUE(Visible(id)) << "control " << id;
    EXPECT_FALSE(Visible(dialog.settingsPage().hwnd()));
    EXPECT_FALSE(Visible(ids::kOkButton));
    EXPECT_FALSE(Visible(ids::kBackButton));
    EXPECT_TRUE(Visible(ids::kQuotaLine));
  }
  void ExpectPhotoSettingsState() {
    EXPECT_FALSE(Visible(dialog.view().hwnd()));
    for (int id : kPhotoListControls) EXPECT_FALSE(Visible(id)) << "control " << id;
    EXPECT_TRUE(Visible(dialog.settingsPage().hwnd()));
    EXPECT_TRUE(Visible(ids::kOkButton));
    EXPECT_TRUE(Visible(ids::kBackButton));
    EXPECT_TRUE(Visible(ids::kQuotaLine));
  }
};

// Log-off and shut-down end the process without WM_DESTROY: the accounts are saved when
// WM_ENDSESSION says the session ends, and only then.
TEST_F(MainStates, TheSettingsAreSavedWhenTheSessionEnds) {
  ::DeleteFileW(SettingsFilePath().c_str());
  dialog.accounts().AddSaved({L"session-end", L""}, false);
  ::SendMessageW(dialog.hwnd(), WM_ENDSESSION, FALSE, 0);
  EXPECT_FALSE(test::FileExists(SettingsFilePath()));
  ::SendMessageW(dialog.hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  AccountState saved;
  LoadSettingsFrom(SettingsFilePath(), saved);
  EXPECT_EQ(saved.savedAccounts(), (std::vector<AccountEntry>{{L"session-end", L""}}));
  dialog.accounts().RemoveSaved({L"session-end", L""});
}

TEST_F(MainStates, StartsInThePhotoListStateWithNoPageShown) {
  EXPECT_EQ(test::WindowText(dialog.hwnd()), L"Fernwick");
  ExpectPhotoListState();
  EXPECT_FALSE(Visible(dialog.progressPage().hwnd()));
  EXPECT_FALSE(Visible(dialog.donePage()->hwnd()));
}

TEST_F(MainStates, WithoutASavedAccountBothStatusLinesAreEmpty) {
  EXPECT_EQ(test::WindowText(Item(ids::kQuotaLine)), L"");
  EXPECT_EQ(test::WindowText(Item(ids::kCurrentUserLine)), L"");
}

TEST_F(MainStates, SelectionButtonsStartDisabledTheOthersEnabled) {
  EXPECT_FALSE(::IsWindowEnabled(Item(ids::kDeleteButton)));
  EXPECT_FALSE(::IsWindowEnabled(Item(ids::kRotateLeftButton)));
  EXPECT_FALSE(::IsWindowEnabled(Item(ids::kRotateRightButton)));
  EXPECT_TRUE(::IsWindowEnabled(Item(ids::kAddButton)));
  EXPECT_TRUE(::IsWindowEnabled(Item(ids::kSettingsButton)));
}

TEST_F(MainStates, UploadWithAnEmptyListShowsTheNoticeAndStays) {
  test::PromptRecorder prompts({IDOK});
  Command(ids::kUploadButton);
  ASSERT_EQ(prompts.seen.size(), 1u);
  EXPECT_EQ(prompts.seen[0].text, L"你尚未加入图片");
  EXPECT_EQ(prompts.seen[0].caption, L"提示");
  EXPECT_EQ(prompts.seen[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(prompts.seen[0].owner, dialog.hwnd());
  ExpectPhotoListState();
}

TEST_F(MainStates, UploadWithPhotosShowsThePhotoSettingsPageWithTheFocusOnOk) {
  dialog.photoCount = 2;
  test::PromptRecorder prompts({IDOK});
  Command(ids::kUploadButton);
  EXPECT_TRUE(prompts.seen.empty());
  ExpectPhotoSettingsState();
  EXPECT_EQ(::GetFocus(), Item(ids::kOkButton));
}

TEST_F(MainStates, BackReturnsToThePhotoListWithTheFocusOnUpload) {
  dialog.photoCount = 1;
  Command(ids::kUploadButton);
  Command(ids::kBackButton);
  ExpectPhotoListState();
  EXPECT_EQ(::GetFocus(), Item(ids::kUploadButton));
}

TEST_F(MainStates, TheCommandIdDecidesNotTheNotificationCode) {
  dialog.photoCount = 1;
  ::SendMessageA(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(ids::kUploadButton, BN_SETFOCUS),
                 (LPARAM)Item(ids::kUploadButton));
  ExpectPhotoSettingsState();
}

// Every state from every other: only its own page (or the view) shows, with the focus on it.
TEST_F(MainStates, EachStateShowsOnlyItsOwnPageWhereverItIsEnteredFrom) {
  const WindowState states[] = {WindowState::kPhotoList, WindowState::kPhotoSettings, WindowState::kProgress,
                                WindowState::kDone};
  for (WindowState from : states) {
    for (WindowState to : states) {
      dialog.EnterState(from);
      dialog.EnterState(to);
      const HWND shown[] = {dialog.view().hwnd(), dialog.settingsPage().hwnd(), dialog.progressPage().hwnd(),
                            dialog.donePage()->hwnd()};
      const HWND focus[] = {Item(ids::kUploadButton), Item(ids::kOkButton),
                            dialog.progressPage().Item(ProgressPage::kCancelButton),
                            dialog.donePage()->Item(DonePage::kViewPhotosButton)};
      const auto index = static_cast<size_t>(to);
      for (size_t page = 0; page < 4; ++page) {
        EXPECT_EQ(Visible(shown[page]), page == index) << "from " << int(from) << " to " << int(to);
      }
      EXPECT_EQ(Visible(ids::kOkButton), to == WindowState::kPhotoSettings);
      EXPECT_TRUE(Visible(ids::kQuotaLine));
      EXPECT_EQ(::GetFocus(), focus[index]) << "from " << int(from) << " to " << int(to);
      EXPECT_EQ(dialog.state(), to);
    }
  }
}

TEST_F(MainStates, AccountTextsReachTheirLines) {
  dialog.accounts().ShowQuota(30);
  dialog.accounts().Switch({L"李雷", L""});
  dialog.RefreshAccountDisplay();
  EXPECT_EQ(test::WindowText(Item(ids::kQuotaLine)), L"使用了30%的本月上传空间");
  EXPECT_EQ(test::WindowText(Item(ids::kCurrentUserLine)), L"当前用户:李雷");
}

TEST_F(MainStates, TheQuotaLineAloneFollowsTheQuota) {
  dialog.accounts().Switch({L"李雷", L""});
  for (int percent : {30, 31, 31, 2}) {
    dialog.accounts().ShowQuota(percent);
    dialog.ShowQuotaLine();
    EXPECT_EQ(test::WindowText(Item(ids::kQuotaLine)), L"使用了" + std::to_wstring(percent) + L"%的本月上传空间");
  }
  EXPECT_EQ(test::WindowText(Item(ids::kCurrentUserLine)), L"");
}

TEST_F(MainStates, RefreshAttachesAddAndSettingsOnce) {
  EXPECT_TRUE(dialog.toolbarButton(ids::kAddButton).attached());
  EXPECT_TRUE(dialog.toolbarButton(ids::kSettingsButton).attached());
  dialog.RefreshAccountDisplay();
  EXPECT_EQ(dialog.toolbarButton(ids::kAddButton).hwnd(), Item(ids::kAddButton));
}

struct CloseCase {
  const char* name;
  unsigned photos;
  int answer;
  bool asks;
  bool closes;
};

class CloseQuestion : public test::MainDialogTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseQuestion, AsksOnlyWithPhotosAndClosesUnlessTheAnswerIsNo) {
  const CloseCase& c = GetParam();
  dialog.photoCount = c.photos;
  test::PromptRecorder prompts({c.answer});
  HWND window = dialog.hwnd();
  ::SendMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_EQ(prompts.seen.size(), c.asks ? 1u : 0u);
  if (c.asks) {
    EXPECT_EQ(prompts.seen[0].text, L"你确定要退出程序吗？");
    EXPECT_EQ(prompts.seen[0].caption, L"提示");
    EXPECT_EQ(prompts.seen[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  }
  EXPECT_EQ(::IsWindow(window) != FALSE, !c.closes);
  if (!c.closes) {
    EXPECT_TRUE(Visible(dialog.view().hwnd())) << "answering No keeps everything";
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, CloseQuestion,
                         ::testing::Values(CloseCase{"EmptyList", 0, IDNO, false, true},
                                           CloseCase{"PhotosYes", 3, IDYES, true, true},
                                           CloseCase{"PhotosNo", 3, IDNO, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainStates, EscapeAndEnterDoNotClose) {
  for (int id : {IDCANCEL, IDOK}) ::SendMessageA(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  EXPECT_TRUE(::IsWindow(dialog.hwnd()));

  // The key itself, through the dialog manager as the modal loop would hand it over.
  ::SetFocus(Item(ids::kUploadButton));
  MSG key{Item(ids::kUploadButton), WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, {0, 0}};
  ::IsDialogMessageA(dialog.hwnd(), &key);
  test::PumpPendingMessages();
  EXPECT_TRUE(::IsWindow(dialog.hwnd()));
  EXPECT_TRUE(Visible(dialog.view().hwnd()));
}

}  // namespace
}  // namespace fernwick
