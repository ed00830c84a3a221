#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/account_test_support.h"
#include "support/test_files.h"
#include "controls/control_text.h"
#include "accounts/core/settings_text.h"
#include "accounts/credential_store.h"
#include "accounts/login_dialog.h"
#include "accounts/settings_file.h"
#include "base/core/web_pages.h"
#include "base/handles.h"
#include "base/text_936.h"
#include "res/resource.h"

namespace fernwick {
namespace {

using test::FakeAccountHost;
using test::PromptRecorder;
using test::ScriptedReply;
using test::ScriptedSignIn;

constexpr wchar_t kNoConnection[] = L"不能连接服务器,请检查网络.";
constexpr wchar_t kWrongPassword[] = L"用户名或密码错误.";

// The dialog made modeless over the host so a test can type and press buttons.
struct OpenLogin {
  OpenLogin(FakeAccountHost& host, bool signInOnly, ScriptedSignIn& signIn)
      : dialog(host, signInOnly, signIn.services()) {
    window = dialog.CreateModeless(kLoginDialogTemplate, host.hwnd());
  }
  void Type(const std::wstring& user, const std::wstring& password) {
    ::SetDlgItemTextW(window, IDC_LOGIN_USER_NAME, user.c_str());
    ::SetDlgItemTextW(window, IDC_LOGIN_PASSWORD, password.c_str());
  }
  // Presses `id`, then lets the sign-in it may have started answer.
  void Press(int id) { test::PressThenPump(window, id, [&] { return !dialog.signingIn(); }); }

  LoginDialog dialog;
  HWND window = nullptr;
};

TEST(LoginDialog, TemplateAndInitialisation) {
  FakeAccountHost host;
  ScriptedSignIn signIn;
  OpenLogin login(host, false, signIn);
  ASSERT_NE(login.window, nullptr);
  EXPECT_EQ(WindowText(login.window), L"Lumora用户登录信息");
  EXPECT_EQ(::SendDlgItemMessageA(login.window, IDC_LOGIN_USER_NAME, EM_GETLIMITTEXT, 0, 0), 30);
  EXPECT_EQ(::SendDlgItemMessageA(login.window, IDC_LOGIN_PASSWORD, EM_GETLIMITTEXT, 0, 0), 30);
  EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(login.window, IDC_LOGIN_PASSWORD), GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(WindowText(::GetDlgItem(login.window, IDC_LOGIN_USER_NAME)), L"");
  EXPECT_TRUE(login.dialog.registerLink().attached());
  EXPECT_EQ(login.dialog.registerLink().target(), WideFromUtf8(RegistrationPage()));
  EXPECT_EQ(login.dialog.registerLink().label(), L"<A>注册为Lumora用户</A>");
  EXPECT_EQ(login.dialog.registerLink().linkRect().left, 0) << "no prefix before the link";
}

TEST(LoginDialog, ThirtyFirstCharacterIsRefused) {
  FakeAccountHost host;
  ScriptedSignIn signIn;
  OpenLogin login(host, false, signIn);
  HWND edit = ::GetDlgItem(login.window, IDC_LOGIN_USER_NAME);
  for (int i = 0; i < 31; ++i) ::SendMessageA(edit, WM_CHAR, 'a' + (i % 26), 1);
  EXPECT_EQ(WindowText(edit).size(), 30u);
}

struct CheckCase {
  const char* name;
  std::wstring user, password;
  bool signInOnly;
  std::vector<ScriptedReply> replies;
  std::vector<std::wstring> expectedPrompts;
  std::size_t expectedRequests;
  bool ends;
};

TEST(LoginDialog, ChecksInOrderWithTheirMessages) {
  const std::vector<CheckCase> cases = {
      {"both empty: only the user name message", L"", L"", false, {}, {L"请输入用户名."}, 0, false},
      {"password empty", L"newbie", L"", false, {}, {L"请输入密码."}, 0, false},
      {"saved name refused before any request", L"alice", L"pw", false, {}, {L"用户名已经存在."}, 0, false},
      {"name differing in case is accepted", L"Alice", L"pw", false, {{0, 5, "b"}}, {}, 1, true},
      {"no connection", L"newbie", L"pw", false, {{-2}}, {kNoConnection}, 1, false},
      {"rejected", L"newbie", L"pw", false, {{-1}}, {kWrongPassword}, 1, false},
      {"sign-in mode skips the duplicate check", L"alice", L"pw", true, {{0, 1, "b"}}, {}, 1, true},
  };
  for (const CheckCase& c : cases) {
    FakeAccountHost host;
    host.state.Load({}, {{L"alice", L"pw"}}, false);
    ScriptedSignIn signIn(c.replies);
    PromptRecorder prompts;
    OpenLogin login(host, c.signInOnly, signIn);
    login.Type(c.user, c.password);
    login.Press(IDOK);
    EXPECT_EQ(prompts.Texts(), c.expectedPrompts) << c.name;
    for (const auto& p : prompts.seen) {
      EXPECT_EQ(p.caption, L"") << c.name;
      EXPECT_EQ(p.owner, login.window) << c.name;
      EXPECT_EQ(p.type, static_cast<UINT>(MB_OK)) << c.name;
    }
    EXPECT_EQ(signIn.calls.size(), c.expectedRequests) << c.name;
    EXPECT_EQ(login.dialog.endedWith().has_value(), c.ends) << c.name;
    if (!c.ends) {
      EXPECT_EQ(host.state.savedAccounts().size(), 1u) << c.name << ": a failure changes nothing";
      EXPECT_EQ(WindowText(::GetDlgItem(login.window, IDC_LOGIN_USER_NAME)), c.user) << c.name << ": input stays";
    }
  }
}

TEST(LoginDialog, NamesAndPasswordsTheServiceCannotHoldAreRefusedUnsent) {
  struct CharacterCase {
    const wchar_t* user;
    const wchar_t* password;
    bool refused;
  };
  const CharacterCase cases[] = {
      {L"김철수", L"pw", true},             // Korean: no code page 936 form
      {L"alice", L"pass\U0001F600", true},  // an emoji in the password
      {L"张三", L"密码", false},
      {L"alice", L"pw", false},
      {L"café", L"é", false},  // é is in code page 936
  };
  for (const CharacterCase& c : cases) {
    FakeAccountHost host;
    ScriptedSignIn signIn(std::vector<ScriptedReply>{{0, 1, "b"}});
    PromptRecorder prompts;
    OpenLogin login(host, false, signIn);
    login.Type(c.user, c.password);
    login.Press(IDOK);
    const std::wstring user = c.user;
    EXPECT_EQ(signIn.calls.size(), c.refused ? 0u : 1u) << user;
    EXPECT_EQ(login.dialog.endedWith().has_value(), !c.refused) << user;
    if (c.refused) {
      ASSERT_EQ(prompts.seen.size(), 1u) << user;
      EXPECT_EQ(prompts.seen[0].text, L"用户名或密码含有不能使用的字符.") << user;
      EXPECT_EQ(prompts.seen[0].caption, L"") << user;
      EXPECT_TRUE(host.state.savedAccounts().empty()) << user;
    } else {
      EXPECT_TRUE(prompts.seen.empty()) << user;
      EXPECT_EQ(signIn.calls[0], (AccountEntry{c.user, c.password})) << user;
    }
  }
}

TEST(LoginDialog, SuccessSavesAndShowsTheAccount) {
  FakeAccountHost host;
  host.state.Load({}, {{L"alice", L"pw"}}, false);
  ScriptedSignIn signIn(std::vector<ScriptedReply>{{0, 42, "myblog"}});
  PromptRecorder prompts;
  OpenLogin login(host, false, signIn);
  login.Type(L"张三", L"密码");
  login.Press(IDOK);
  ASSERT_EQ(login.dialog.endedWith(), IDOK);
  EXPECT_TRUE(prompts.seen.empty());
  ASSERT_EQ(signIn.calls.size(), 1u);
  EXPECT_EQ(signIn.calls[0], (AccountEntry{L"张三", L"密码"}));
  EXPECT_EQ(host.state.savedAccounts().back(), (AccountEntry{L"张三", L"密码"}));
  EXPECT_EQ(host.state.currentUserName(), L"张三");
  EXPECT_EQ(host.state.currentPassword(), L"密码");
  EXPECT_EQ(host.state.blogName(), "myblog");
  EXPECT_EQ(host.UserLine(), L"当前用户:张三");
  EXPECT_EQ(host.QuotaLine(), L"使用了42%的本月上传空间");
  EXPECT_EQ(host.linkTargets, std::vector<std::string>{PhotoSiteHomePage()});
  EXPECT_EQ(login.dialog.userName(), L"张三");
  EXPECT_EQ(login.dialog.password(), L"密码");
}

TEST(LoginDialog, SignInModeAppendsTheSameNameTwice) {
  FakeAccountHost host;
  host.state.Load({}, {{L"alice", L"pw"}}, false);
  ScriptedSignIn signIn(std::vector<ScriptedReply>{{0, 1, ""}, {0, 2, ""}});
  for (int round = 0; round < 2; ++round) {
    OpenLogin login(host, true, signIn);
    login.Type(L"alice", L"pw");
    login.Press(IDOK);
    EXPECT_EQ(login.dialog.endedWith(), IDOK);
  }
  EXPECT_EQ(host.state.savedAccounts(),
            (std::vector<AccountEntry>{{L"alice", L"pw"}, {L"alice", L"pw"}, {L"alice", L"pw"}}));
}

// An account the start left without its password (the store did not give it) gets the one typed,
// with no second entry of its name.
TEST(LoginDialog, SignInModeGivesASavedAccountWithoutAPasswordTheOneTyped) {
  FakeAccountHost host;
  host.state.Load({L"roamer", L""}, {{L"alice", L"pw"}, {L"roamer", L""}}, false);
  ScriptedSignIn signIn(std::vector<ScriptedReply>{{0, 1, ""}});
  OpenLogin login(host, true, signIn);
  login.Type(L"roamer", L"typed");
  login.Press(IDOK);
  EXPECT_EQ(login.dialog.endedWith(), IDOK);
  EXPECT_EQ(host.state.savedAccounts(), (std::vector<AccountEntry>{{L"alice", L"pw"}, {L"roamer", L"typed"}}));
  EXPECT_EQ(host.state.currentPassword(), L"typed");
}

TEST(LoginDialog, RejectedPasswordLeavesEverything) {
  FakeAccountHost host;
  host.state.Load({L"old", L"oldpw"}, {{L"old", L"oldpw"}}, false);
  ScriptedSignIn signIn(std::vector<ScriptedReply>{{-1}});
  PromptRecorder prompts;
  OpenLogin login(host, true, signIn);
  login.Type(L"old", L"wrong");
  login.Press(IDOK);
  EXPECT_EQ(prompts.Texts(), std::vector<std::wstring>{kWrongPassword});
  EXPECT_EQ(host.state.currentPassword(), L"oldpw");
  EXPECT_EQ(host.state.savedAccounts().size(), 1u);
  EXPECT_EQ(host.refreshes, 0);
}

TEST(LoginDialog, CancelChangesNothing) {
  FakeAccountHost host;
  ScriptedSignIn signIn(std::vector<ScriptedReply>{{0}});
  PromptRecorder prompts;
  OpenLogin login(host, false, signIn);
  login.Type(L"bob", L"pw");
  login.Press(IDCANCEL);
  EXPECT_EQ(login.dialog.endedWith(), IDCANCEL);
  EXPECT_TRUE(signIn.calls.empty());
  EXPECT_TRUE(host.state.savedAccounts().empty());
}

// A credential store that refuses the passwords: the accounts work for this run from memory,
// the user hears it once, and the settings file still gets no password.
TEST(LoginDialog, AStoreThatCannotKeepPasswordsIsToldOnceAndTheAccountsWorkForTheRun) {
  test::FailingCredentialStore failing;
  const ScopedCredentialStore store(failing);
  FakeAccountHost host;
  ScriptedSignIn signIn(std::vector<ScriptedReply>{{0, 5, ""}, {0, 6, ""}});
  PromptRecorder prompts;
  for (const wchar_t* user : {L"fail-amy", L"fail-bea"}) {
    OpenLogin login(host, false, signIn);
    login.Type(user, L"secret-pw");
    login.Press(IDOK);
    EXPECT_EQ(login.dialog.endedWith(), IDOK);
  }
  EXPECT_EQ(host.state.savedAccounts(),
            (std::vector<AccountEntry>{{L"fail-amy", L"secret-pw"}, {L"fail-bea", L"secret-pw"}}));
  EXPECT_EQ(host.state.currentUserName(), L"fail-bea");
  EXPECT_EQ(host.state.currentPassword(), L"secret-pw");

  const std::wstring folder = test::FreshDirectory(L"fernwick-failing-store");
  EXPECT_TRUE(SaveSettingsTo(folder + L"qvpicsendst.idx", host.state));
  const std::string text = DecipherSettingsText(test::ReadBytes(folder + L"qvpicsendst.idx"));
  test::RemoveDirectoryTree(folder);
  EXPECT_NE(text.find("fail-bea"), std::string::npos);
  EXPECT_EQ(text.find("secret-pw"), std::string::npos);
  EXPECT_GE(failing.refusedWrites, 3);
  ASSERT_EQ(prompts.seen.size(), 1u);
  EXPECT_EQ(prompts.seen[0].text, L"密码未能保存到 Windows 凭据管理器，下次启动需要重新登录。");
  EXPECT_EQ(prompts.seen[0].caption, L"");  // the login dialog's messages have none
  EXPECT_EQ(prompts.seen[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(test::StoredPassword(L"Fernwick:fail-amy"), std::nullopt);
}

// While the server is silent the dialog keeps handling its messages, shows that it waits, and
// takes no second OK; an answer that arrives after Cancel changes nothing.
TEST(LoginDialog, StaysResponsiveWhileTheServerIsAsked) {
  struct PendingCase {
    const char* name;
    bool cancelFirst;
  };
  const PendingCase cases[] = {{"the answer arrives", false}, {"cancelled before the answer", true}};
  for (const PendingCase& c : cases) {
    FakeAccountHost host;
    PromptRecorder prompts;
    UniqueHandle release(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::atomic<int> asked{0};
    std::atomic<bool> answered{false};
    HANDLE releaseEvent = release.get();
    // Bounded, so that a dialog that blocked on it would fail the test rather than hang it.
    auto blocking = [&asked, &answered, releaseEvent](const std::wstring&, const std::wstring&, std::string&,
                                                      int& percent, std::string&) {
      ++asked;
      const bool released = ::WaitForSingleObject(releaseEvent, 10000) == WAIT_OBJECT_0;
      percent = 21;
      answered = true;
      return released ? kResultOk : kResultNoExchange;
    };
    LoginDialog dialog(host, false, AccountServices{blocking, nullptr});
    HWND window = dialog.CreateModeless(kLoginDialogTemplate, host.hwnd());
    ::SetDlgItemTextA(window, IDC_LOGIN_USER_NAME, "alice");
    ::SetDlgItemTextA(window, IDC_LOGIN_PASSWORD, "pw");
    ::SendMessageA(window, WM_COMMAND, IDOK, 0);

    ASSERT_TRUE(dialog.signingIn()) << c.name;
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, IDOK))) << c.name;
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, IDC_LOGIN_USER_NAME))) << c.name;
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, IDC_LOGIN_PASSWORD))) << c.name;
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(window, IDCANCEL))) << c.name;
    // Another thread's message is answered only while this thread handles its messages.
    std::atomic<bool> heard{false};
    std::thread other([&heard, window] {
      DWORD_PTR length = 0;
      heard = ::SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length) != 0 && length > 0;
    });
    EXPECT_TRUE(test::PumpUntil([&] { return heard.load(); }, 5000)) << c.name;
    other.join();
    ::SendMessageA(window, WM_COMMAND, IDOK, 0);
    test::PumpPendingMessages();
    EXPECT_FALSE(answered.load()) << c.name << ": the server is still silent";

    if (c.cancelFirst) ::SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
    ::SetEvent(release.get());
    ASSERT_TRUE(test::PumpUntil([&] { return answered.load() && !dialog.signingIn(); })) << c.name;
    test::PumpPendingMessages();
    EXPECT_EQ(asked.load(), 1) << c.name << ": the second OK asked nothing";
    EXPECT_TRUE(prompts.seen.empty()) << c.name;
    if (c.cancelFirst) {
      EXPECT_EQ(dialog.endedWith(), IDCANCEL) << c.name;
      EXPECT_TRUE(host.state.savedAccounts().empty()) << c.name;
      EXPECT_EQ(host.refreshes, 0) << c.name;
    } else {
      EXPECT_EQ(dialog.endedWith(), IDOK) << c.name;
      EXPECT_EQ(host.QuotaLine(), L"使用了21%的本月上传空间") << c.name;
      EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(window, IDOK))) << c.name;
    }
  }
}

TEST(LoginDialog, RegisterLinkOpensTheRegistrationPage) {
  FakeAccountHost host;
  ScriptedSignIn signIn;
  test::LaunchRecorder launches;
  OpenLogin login(host, false, signIn);
  EXPECT_TRUE(login.dialog.registerLink().Open());
  ASSERT_EQ(launches.seen.size(), 1u);
  EXPECT_EQ(launches.seen[0].kind, BrowserLaunchRequest::Kind::kShellOpen);
  EXPECT_EQ(launches.seen[0].text, RegistrationPage());
  EXPECT_FALSE(login.dialog.endedWith().has_value()) << "the dialog stays open";
}

}  // namespace
}  // namespace fernwick
