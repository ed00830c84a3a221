#include <windows.h>

#include <gtest/gtest.h>

#include "controls/control_text.h"
#include "accounts/login_dialog.h"
#include "accounts/saved_passwords.h"
#include "accounts/settings_dialog.h"
#include "base/core/web_pages.h"
#include "base/program_state.h"
#include "support/account_test_support.h"

namespace fernwick {
namespace {

using test::FakeAccountHost;
using test::PromptRecorder;
using test::ScriptedReply;
using test::ScriptedSignIn;

// Keeps the program-wide size limit of other tests out of these.
class SizeLimitScope {
 public:
  explicit SizeLimitScope(int limit) : saved_(SizeLimit()) { SetSizeLimit(limit); }
  ~SizeLimitScope() { SetSizeLimit(saved_); }

 private:
  int saved_;
};

struct OpenSettings {
  OpenSettings(FakeAccountHost& host, ScriptedSignIn& signIn, SettingsDialog::AddAccountRunner add = nullptr)
      : dialog(host, signIn.services(), std::move(add)) {
    window = dialog.CreateModeless(kSettingsDialogTemplate, host.hwnd());
  }
  HWND Combo(int id) const { return ::GetDlgItem(window, id); }
  int Selected(int id) const { return static_cast<int>(::SendMessageA(Combo(id), CB_GETCURSEL, 0, 0)); }
  int Count(int id) const { return static_cast<int>(::SendMessageA(Combo(id), CB_GETCOUNT, 0, 0)); }
  std::vector<std::wstring> Items(int id) const {
    std::vector<std::wstring> items;
    for (int i = 0; i < Count(id); ++i) items.push_back(ComboItemText(Combo(id), i));
    return items;
  }
  void Select(int id, int index) { ::SendMessageA(Combo(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
  // Presses `id`, then lets the sign-in it may have started answer.
  void Press(int id) { test::PressThenPump(window, id, [&] { return !dialog.signingIn(); }); }
  bool Checked(int id) const { return ::IsDlgButtonChecked(window, id) == BST_CHECKED; }

  SettingsDialog dialog;
  HWND window = nullptr;
};

// `saved` as the start left them, then `user` signed in.
void SignInAs(FakeAccountHost& host, const std::vector<AccountEntry>& saved, const std::wstring& user,
              const std::wstring& password) {
  host.state.Load({}, saved, false);
  host.state.SignedIn({user, password}, 10, "");
}

TEST(SettingsDialog, FillsTheCombosInStep) {
  SizeLimitScope size(1024);
  FakeAccountHost host;
  SignInAs(host, {{L"alice", L"a1"}, {L"Bob", L"b1"}, {L"bobby", L"b2"}}, L"bob", L"b1");
  ScriptedSignIn signIn;
  OpenSettings settings(host, signIn);
  ASSERT_NE(settings.window, nullptr);
  EXPECT_EQ(WindowText(settings.window), L"设置");
  EXPECT_EQ(settings.Items(1012), (std::vector<std::wstring>{L"alice", L"Bob", L"bobby"}));
  EXPECT_EQ(settings.Items(1019), (std::vector<std::wstring>{L"a1", L"b1", L"b2"}));
  EXPECT_FALSE(::GetWindowLongA(settings.Combo(1019), GWL_STYLE) & WS_VISIBLE) << "the password list is never shown";
  EXPECT_EQ(settings.Selected(1012), 1) << "with no exact name, the prefix search ignoring case finds \"Bob\" first";
  EXPECT_EQ(settings.Items(1015), (std::vector<std::wstring>{L"800像素", L"1024像素", L"1280像素"}));
}

struct ExactMatchCase {
  std::vector<AccountEntry> saved;
  const wchar_t* current;
  int deleteFirst;  // the entry deleted before OK, or -1
  int selected;
};

// A prefix of another saved name, or the same name in other letters, must not pick that
// other account: OK would sign it in, at opening and after a delete alike.
TEST(SettingsDialog, TheCurrentAccountIsSelectedByItsExactName) {
  const std::vector<ExactMatchCase> cases = {
      {{{L"alice2", L"a2"}, {L"alice", L"a1"}}, L"alice", -1, 1},
      {{{L"Bob", L"B1"}, {L"bob", L"b1"}}, L"bob", -1, 1},
      {{{L"x", L"1"}, {L"alice2", L"a2"}, {L"alice", L"a1"}}, L"alice", 0, 1},
      {{{L"x", L"1"}, {L"Bob", L"B1"}, {L"bob", L"b1"}}, L"bob", 0, 1},
  };
  for (const ExactMatchCase& c : cases) {
    SizeLimitScope size(1024);
    FakeAccountHost host;
    SignInAs(host, c.saved, c.current, L"pw");
    ScriptedSignIn signIn(std::vector<ScriptedReply>{{0}});
    OpenSettings settings(host, signIn);
    if (c.deleteFirst >= 0) {
      settings.Select(1012, c.deleteFirst);
      settings.Press(1013);
    }
    EXPECT_EQ(settings.Selected(1012), c.selected) << c.current << " " << c.deleteFirst;
    settings.Press(IDOK);
    EXPECT_TRUE(signIn.calls.empty()) << c.current << " " << c.deleteFirst;
    EXPECT_EQ(host.state.currentUserName(), c.current);
  }
}

struct SizeOpenCase {
  int limit;
  int comboIndex;
  bool noScaling;
};

TEST(SettingsDialog, SizeChoiceShownAtOpening) {
  const std::vector<SizeOpenCase> cases = {{800, 0, false}, {1024, 1, false}, {1280, 2, false},
                                           {1600, 0, true}, {500, 0, true},   {-3, 0, true}};
  for (const SizeOpenCase& c : cases) {
    SizeLimitScope size(c.limit);
    FakeAccountHost host;
    ScriptedSignIn signIn;
    OpenSettings settings(host, signIn);
    EXPECT_EQ(settings.Selected(1015), c.comboIndex) << c.limit;
    EXPECT_EQ(settings.Checked(1010), c.noScaling) << c.limit;
    EXPECT_EQ(settings.Checked(1009), !c.noScaling) << c.limit;
    EXPECT_TRUE(::IsWindowEnabled(settings.Combo(1015))) << "the size list stays enabled";
  }
}

struct SizeOkCase {
  bool noScaling;
  int comboIndex;
  int expected;
};

TEST(SettingsDialog, OkStoresTheSizeChoice) {
  const std::vector<SizeOkCase> cases = {
      {true, 2, 1600}, {false, 0, 800}, {false, 1, 1024}, {false, 2, 1280}, {false, -1, 777}};
  for (const SizeOkCase& c : cases) {
    SizeLimitScope size(777);
    FakeAccountHost host;
    ScriptedSignIn signIn;
    OpenSettings settings(host, signIn);
    ::CheckRadioButton(settings.window, 1009, 1010, c.noScaling ? 1010 : 1009);
    settings.Select(1015, c.comboIndex);
    settings.Press(IDOK);
    EXPECT_EQ(SizeLimit(), c.expected) << c.noScaling << " " << c.comboIndex;
    EXPECT_EQ(settings.dialog.endedWith(), IDOK);
    EXPECT_TRUE(signIn.calls.empty()) << "nobody signed in and nothing chosen: no request";
  }
}

TEST(SettingsDialog, OkWithTheCurrentAccountSendsNoRequest) {
  SizeLimitScope size(1024);
  FakeAccountHost host;
  SignInAs(host, {{L"alice", L"a1"}, {L"bob", L"b1"}}, L"bob", L"changed-password");
  ScriptedSignIn signIn(std::vector<ScriptedReply>{{0}});
  PromptRecorder prompts;
  OpenSettings settings(host, signIn);
  settings.Press(IDOK);
  EXPECT_TRUE(signIn.calls.empty());
  EXPECT_TRUE(prompts.seen.empty());
  EXPECT_EQ(host.state.currentPassword(), L"changed-password") << L"the password is not compared";
}

struct SwitchCase {
  const char* name;
  ScriptedReply reply;
  std::vector<std::wstring> prompts;
  std::wstring expectedUser;
};

TEST(SettingsDialog, OkSignsInOnlyAChangedAccount) {
  const std::vector<SwitchCase> cases = {
      {"accepted", {0, 64, "alice-blog"}, {}, L"alice"},
      {"rejected", {-1}, {L"用户名或密码错误."}, L"bob"},
      {"no connection", {-2}, {L"不能连接服务器,请检查网络."}, L"bob"},
  };
  for (const SwitchCase& c : cases) {
    SizeLimitScope size(1024);
    FakeAccountHost host;
    SignInAs(host, {{L"alice", L"a1"}, {L"bob", L"b1"}}, L"bob", L"b1");
    host.RefreshAccountDisplay();
    ScriptedSignIn signIn(std::vector<ScriptedReply>{c.reply});
    PromptRecorder prompts;
    OpenSettings settings(host, signIn);
    settings.Select(1012, 0);
    ::CheckRadioButton(settings.window, 1009, 1010, 1010);
    settings.Press(IDOK);
    ASSERT_EQ(signIn.calls.size(), 1u) << c.name;
    EXPECT_EQ(signIn.calls[0], (AccountEntry{L"alice", L"a1"})) << c.name << L": password from the hidden list";
    EXPECT_EQ(prompts.Texts(), c.prompts) << c.name;
    for (const auto& p : prompts.seen) {
      EXPECT_EQ(p.caption, L"提示");
      EXPECT_EQ(p.owner, settings.window);
    }
    EXPECT_EQ(host.state.currentUserName(), c.expectedUser) << c.name;
    EXPECT_EQ(host.UserLine(), L"当前用户:" + c.expectedUser) << c.name;
    EXPECT_EQ(SizeLimit(), 1600) << c.name << ": the size choice applies in every case";
    EXPECT_EQ(settings.dialog.endedWith(), IDOK) << c.name;
    if (c.reply.result == 0) {
      EXPECT_EQ(host.QuotaLine(), L"使用了64%的本月上传空间");
      EXPECT_EQ(host.state.blogName(), "alice-blog");
      EXPECT_EQ(host.linkTargets, std::vector<std::string>{PhotoSiteHomePage()});
    } else {
      EXPECT_EQ(host.QuotaLine(), L"使用了10%的本月上传空间") << c.name;
      EXPECT_TRUE(host.linkTargets.empty()) << c.name;
    }
  }
}

TEST(SettingsDialog, CancelAppliesNeitherSizeNorAccount) {
  SizeLimitScope size(1024);
  FakeAccountHost host;
  SignInAs(host, {{L"alice", L"a1"}, {L"bob", L"b1"}}, L"bob", L"b1");
  ScriptedSignIn signIn(std::vector<ScriptedReply>{{0}});
  OpenSettings settings(host, signIn);
  settings.Select(1012, 0);
  ::CheckRadioButton(settings.window, 1009, 1010, 1010);
  settings.Press(IDCANCEL);
  EXPECT_EQ(settings.dialog.endedWith(), IDCANCEL);
  EXPECT_EQ(SizeLimit(), 1024);
  EXPECT_EQ(host.state.currentUserName(), L"bob");
  EXPECT_TRUE(signIn.calls.empty());
}

TEST(SettingsDialog, DeletingAnotherAccountKeepsTheCurrentOne) {
  FakeAccountHost host;
  SignInAs(host, {{L"alice", L"a1"}, {L"bob", L"b1"}, {L"carol", L"c1"}}, L"carol", L"c1");
  ScriptedSignIn signIn;
  OpenSettings settings(host, signIn);
  settings.Select(1012, 0);
  settings.Press(1013);
  EXPECT_EQ(host.state.savedAccounts(), (std::vector<AccountEntry>{{L"bob", L"b1"}, {L"carol", L"c1"}}));
  EXPECT_EQ(settings.Items(1012), (std::vector<std::wstring>{L"bob", L"carol"}));
  EXPECT_EQ(settings.Items(1019), (std::vector<std::wstring>{L"b1", L"c1"}));
  EXPECT_EQ(settings.Selected(1012), 1);
  EXPECT_EQ(settings.Selected(1019), 1);
  EXPECT_EQ(host.state.currentUserName(), L"carol");
  EXPECT_EQ(host.QuotaLine(), L"使用了10%的本月上传空间");
  EXPECT_EQ(host.UserLine(), L"当前用户:carol");
  EXPECT_TRUE(signIn.calls.empty());
}

TEST(SettingsDialog, DeletingTheCurrentAccountMakesTheFirstCurrentWithoutRequest) {
  FakeAccountHost host;
  SignInAs(host, {{L"alice", L"a1"}, {L"bob", L"b1"}}, L"bob", L"b1");
  ScriptedSignIn signIn;
  OpenSettings settings(host, signIn);
  settings.Select(1012, 1);
  settings.Press(1013);
  EXPECT_EQ(host.state.savedAccounts(), (std::vector<AccountEntry>{{L"alice", L"a1"}}));
  EXPECT_EQ(host.state.currentUserName(), L"alice");
  EXPECT_EQ(host.state.currentPassword(), L"a1");
  EXPECT_EQ(host.UserLine(), L"当前用户:alice");
  EXPECT_EQ(host.QuotaLine(), L"");
  EXPECT_TRUE(signIn.calls.empty());
}

TEST(SettingsDialog, DeletingTheLastAccountSignsOut) {
  FakeAccountHost host;
  SignInAs(host, {{L"alice", L"a1"}}, L"alice", L"a1");
  ScriptedSignIn signIn;
  OpenSettings settings(host, signIn);
  settings.Select(1012, 0);
  settings.Press(1013);
  EXPECT_TRUE(host.state.savedAccounts().empty());
  EXPECT_EQ(host.state.currentUserName(), L"");
  EXPECT_EQ(host.state.currentPassword(), L"");
  EXPECT_EQ(host.UserLine(), L"");
  EXPECT_EQ(host.QuotaLine(), L"");
  EXPECT_EQ(host.linkTargets, std::vector<std::string>{PhotoSiteHomePage()});
  EXPECT_EQ(settings.Count(1012), 0);
  EXPECT_EQ(settings.Count(1019), 0);
}

TEST(SettingsDialog, DuplicateEntriesLoseTheFirstSavedAndTheSelectedListed) {
  FakeAccountHost host;
  SignInAs(host, {{L"dup", L"same"}, {L"x", L"1"}, {L"dup", L"same"}}, L"x", L"1");
  ScriptedSignIn signIn;
  OpenSettings settings(host, signIn);
  settings.Select(1012, 2);
  settings.Press(1013);
  EXPECT_EQ(host.state.savedAccounts(), (std::vector<AccountEntry>{{L"x", L"1"}, {L"dup", L"same"}}));
  EXPECT_EQ(settings.Items(1012), (std::vector<std::wstring>{L"dup", L"x"}));
}

TEST(SettingsDialog, DeletingAnAccountDeletesItsPasswordFromTheCredentialStore) {
  FakeAccountHost host;
  SignInAs(host, {{L"del-ann", L"a1"}, {L"del-ben", L"b1"}, {L"del-ben", L"b2"}}, L"del-ann", L"a1");
  KeepPasswords(host.state, nullptr);  // as the start left them
  ASSERT_EQ(test::StoredPassword(L"Fernwick#2:del-ben"), L"b2");
  ScriptedSignIn signIn;
  OpenSettings settings(host, signIn);
  settings.Select(1012, 1);  // the first del-ben: the second now has its name
  settings.Press(1013);
  EXPECT_EQ(test::StoredPassword(L"Fernwick:del-ben"), L"b2");
  EXPECT_EQ(test::StoredPassword(L"Fernwick#2:del-ben"), std::nullopt);
  EXPECT_EQ(test::StoredPassword(L"Fernwick:del-ann"), L"a1");
  settings.Select(1012, 0);
  settings.Press(1013);
  EXPECT_EQ(test::StoredPassword(L"Fernwick:del-ann"), std::nullopt);
}

// The store takes "Fernwick:case-Ann" and "Fernwick:case-ann" for one credential: each name keeps
// its own, and deleting one account leaves the other's password.
TEST(SettingsDialog, DeletingOneOfTwoNamesDifferingInCaseKeepsTheOthersPassword) {
  FakeAccountHost host;
  SignInAs(host, {{L"case-Ann", L"A"}, {L"case-ann", L"a"}}, L"case-Ann", L"A");
  KeepPasswords(host.state, nullptr);
  ASSERT_EQ(test::StoredPassword(L"Fernwick#2:case-ann"), L"a");
  ScriptedSignIn signIn;
  OpenSettings settings(host, signIn);
  settings.Select(1012, 1);
  settings.Press(1013);
  ASSERT_EQ(host.state.savedAccounts(), (std::vector<AccountEntry>{{L"case-Ann", L"A"}}));
  EXPECT_EQ(test::StoredPassword(L"Fernwick:case-Ann"), L"A");
  EXPECT_EQ(test::StoredPassword(L"Fernwick#2:case-ann"), std::nullopt);
  ForgetOtherPasswords(AccountState{});
}

TEST(SettingsDialog, DeleteStaysAfterCancel) {
  FakeAccountHost host;
  SignInAs(host, {{L"alice", L"a1"}, {L"bob", L"b1"}}, L"bob", L"b1");
  ScriptedSignIn signIn;
  OpenSettings settings(host, signIn);
  settings.Select(1012, 0);
  settings.Press(1013);
  settings.Press(IDCANCEL);
  EXPECT_EQ(host.state.savedAccounts(), (std::vector<AccountEntry>{{L"bob", L"b1"}}));
}

TEST(SettingsDialog, AddUserThroughTheLoginDialogSurvivesCancel) {
  SizeLimitScope size(1024);
  FakeAccountHost host;
  SignInAs(host, {{L"alice", L"a1"}}, L"alice", L"a1");
  ScriptedSignIn signIn(std::vector<ScriptedReply>{{0, 7, "new-blog"}});
  PromptRecorder prompts;
  int loginRuns = 0;
  // The real login dialog, typed into and confirmed, in place of the modal run.
  OpenSettings settings(host, signIn, [&](AccountHost& owner, AccountEntry& added) {
    ++loginRuns;
    LoginDialog login(owner, false, signIn.services());
    HWND window = login.CreateModeless(kLoginDialogTemplate, host.hwnd());
    ::SetDlgItemTextA(window, 1008, "新用户");
    ::SetDlgItemTextA(window, 1020, "pw2");
    ::SendMessageA(window, WM_COMMAND, IDOK, 0);
    test::PumpUntil([&] { return !login.signingIn(); });
    if (login.endedWith() != IDOK) return false;
    added = AccountEntry{login.userName(), login.password()};
    return true;
  });
  settings.Press(1007);
  EXPECT_EQ(loginRuns, 1);
  EXPECT_EQ(settings.Items(1012), (std::vector<std::wstring>{L"alice", L"新用户"}));
  EXPECT_EQ(settings.Items(1019), (std::vector<std::wstring>{L"a1", L"pw2"}));
  EXPECT_EQ(settings.Selected(1012), 1);
  settings.Press(IDCANCEL);
  EXPECT_EQ(host.state.savedAccounts(), (std::vector<AccountEntry>{{L"alice", L"a1"}, {L"新用户", L"pw2"}}));
  EXPECT_EQ(host.state.currentUserName(), L"新用户");
  EXPECT_EQ(host.UserLine(), L"当前用户:新用户");
  EXPECT_EQ(host.QuotaLine(), L"使用了7%的本月上传空间");
  EXPECT_TRUE(prompts.seen.empty());
}

TEST(SettingsDialog, CancelledLoginAddsNothing) {
  FakeAccountHost host;
  host.state.Load({}, {{L"alice", L"a1"}}, false);
  ScriptedSignIn signIn;
  OpenSettings settings(host, signIn, [](AccountHost&, AccountEntry&) { return false; });
  settings.Press(1007);
  EXPECT_EQ(settings.Count(1012), 1);
  EXPECT_EQ(host.state.savedAccounts().size(), 1u);
}

// The login dialog the settings dialog opens by default runs modally; a timer inside its
// modal loop types into it and confirms, as a user would.
TEST(SettingsDialog, DefaultAddUserRunsTheModalLoginDialog) {
  FakeAccountHost host;
  ScriptedSignIn signIn(std::vector<ScriptedReply>{{0, 3, ""}});
  SettingsDialog dialog(host, signIn.services());
  HWND window = dialog.CreateModeless(kSettingsDialogTemplate, host.hwnd());
  ::SetActiveWindow(window);
  static HWND typedInto = nullptr;
  typedInto = nullptr;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND login = ::FindWindowA(nullptr, "Lumora用户登录信息");
    if (!login || typedInto) return;
    typedInto = login;
    ::SetDlgItemTextA(login, 1008, "modal");
    ::SetDlgItemTextA(login, 1020, "pw");
    ::PostMessageA(login, WM_COMMAND, IDOK, 0);
  });
  ::SendMessageA(window, WM_COMMAND, 1007, 0);
  ::KillTimer(nullptr, timer);
  EXPECT_NE(typedInto, nullptr);
  EXPECT_EQ(host.state.savedAccounts(), (std::vector<AccountEntry>{{L"modal", L"pw"}}));
  EXPECT_EQ(ComboItemText(::GetDlgItem(window, 1012), 0), L"modal");
}

}  // namespace
}  // namespace fernwick
