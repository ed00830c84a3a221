// The account dialogs and the start-up sign-in with the real requests, against the reference
// server that ctest starts for these tests.
#include <windows.h>

#include <gtest/gtest.h>

#include "accounts/account_services.h"
#include "accounts/login_dialog.h"
#include "accounts/settings_dialog.h"
#include "accounts/startup_sign_in.h"
#include "base/browser_integration.h"
#include "reference_server.h"
#include "support/account_test_support.h"

namespace fernwick {
namespace {

using test::ArmFault;
using test::Control;
using test::FakeAccountHost;
using test::LaunchRecorder;
using test::PromptRecorder;

class AccountServer : public test::ReferenceServerTest {
 protected:
  void SetUp() override {
    test::ReferenceServerTest::SetUp();
    ASSERT_EQ(test::PutAccount("alice", "pw1", 1000, "alices-blog"), "put\n");
  }
  void TearDown() override {
    Control("setting?key=version_id&value=1.0");
    Control("setting?key=is_upgrade&value=0");
    test::ReferenceServerTest::TearDown();
  }

  // Lets the worker's answer arrive through the message queue.
  static void WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 1000 && !done(); ++i) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      test::PumpPendingMessages();
    }
  }
};

struct LoginCase {
  const char* name;
  std::string password;
  const char* fault;  // on /upload/auth.aspx, or none
  std::vector<std::wstring> prompts;
  bool signedIn;
};

TEST_F(AccountServer, LoginDialogWithTheRealSignIn) {
  const std::vector<LoginCase> cases = {
      {"right password", "pw1", nullptr, {}, true},
      {"wrong password", "nope", nullptr, {L"用户名或密码错误."}, false},
      {"server error", "pw1", "status", {L"不能连接服务器,请检查网络."}, false},
  };
  for (const LoginCase& c : cases) {
    if (c.fault) ArmFault(c.fault, "/upload/auth.aspx", 500);
    FakeAccountHost host;
    PromptRecorder prompts;
    LoginDialog login(host, false, ProductionAccountServices());
    HWND window = login.CreateModeless(kLoginDialogTemplate, host.hwnd());
    ::SetDlgItemTextA(window, 1008, "alice");
    ::SetDlgItemTextA(window, 1020, c.password.c_str());
    ::SendMessageA(window, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !login.signingIn(); });
    EXPECT_EQ(prompts.Texts(), c.prompts) << c.name;
    EXPECT_EQ(login.endedWith().has_value(), c.signedIn) << c.name;
    EXPECT_NE(test::Captured().find("GET /upload/auth.aspx?username=alice&password=" + c.password + " "),
              std::string::npos)
        << c.name;
    if (c.signedIn) {
      EXPECT_EQ(host.UserLine(), L"当前用户:alice");
      EXPECT_EQ(host.QuotaLine(), L"使用了0%的本月上传空间");
      EXPECT_EQ(host.state.blogName(), "alices-blog");
      EXPECT_EQ(host.state.savedAccounts(), (std::vector<AccountEntry>{{L"alice", L"pw1"}}));
    } else {
      EXPECT_TRUE(host.state.savedAccounts().empty()) << c.name;
    }
  }
}

TEST_F(AccountServer, StartupSignsTheRememberedAccountIn) {
  FakeAccountHost host;
  host.state.Load({L"alice", L"pw1"}, {}, false);
  PromptRecorder prompts;
  StartupSignIn startup;
  ASSERT_TRUE(startup.Start(host, ProductionAccountServices()));
  WaitFor([&] { return !host.QuotaLine().empty(); });
  EXPECT_EQ(host.QuotaLine(), L"使用了0%的本月上传空间");
  EXPECT_EQ(host.state.blogName(), "alices-blog");
  EXPECT_TRUE(prompts.seen.empty());
  EXPECT_NE(test::Captured(1).find("GET /upload/versioncheck.aspx "), std::string::npos);
}

TEST_F(AccountServer, StartupForgetsARejectedAccount) {
  FakeAccountHost host;
  host.state.Load({L"alice", L"old password"}, {{L"alice", L"old password"}, {L"alice", L"pw1"}}, false);
  StartupSignIn startup;
  ASSERT_TRUE(startup.Start(host, ProductionAccountServices()));
  WaitFor([&] { return host.state.currentUserName().empty(); });
  EXPECT_EQ(host.state.savedAccounts(), (std::vector<AccountEntry>{{L"alice", L"pw1"}}));
  EXPECT_EQ(host.UserLine(), L"");
}

TEST_F(AccountServer, StartupObligatoryUpgradeOpensTheDownloadPage) {
  Control("setting?key=version_id&value=1.1");
  Control("setting?key=is_upgrade&value=1");
  Control("setting?key=version_url&value=http%3A%2F%2Fdl.example%2Fnew.exe");
  FakeAccountHost host;
  host.state.Load({L"alice", L"pw1"}, {}, false);
  PromptRecorder prompts;
  LaunchRecorder launches;
  StartupSignIn startup;
  ASSERT_TRUE(startup.Start(host, ProductionAccountServices()));
  WaitFor([&] { return host.upgradeEndings > 0; });
  EXPECT_EQ(prompts.Texts(), std::vector<std::wstring>{L"现在有新的版本，你必须下载新的版本才能继续使用."});
  ASSERT_EQ(launches.seen.size(), 1u);
  EXPECT_NE(launches.seen[0].text.find("http://dl.example/new.exe"), std::string::npos);
  EXPECT_EQ(host.QuotaLine(), L"") << L"no sign-in after the upgrade";
}

}  // namespace
}  // namespace fernwick
