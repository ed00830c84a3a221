#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <new>

#include "accounts/saved_passwords.h"
#include "accounts/startup_sign_in.h"
#include "base/browser_integration.h"
#include "base/core/web_pages.h"
#include "support/account_test_support.h"

namespace fernwick {
namespace {

using test::FakeAccountHost;
using test::LaunchRecorder;
using test::PromptRecorder;
using test::ScriptedReply;
using test::ScriptedSignIn;

constexpr wchar_t kMustUpgrade[] = L"现在有新的版本，你必须下载新的版本才能继续使用.";
constexpr wchar_t kMayUpgrade[] = L"现在有新的版本，你要下载新的版本吗？";

// Runs the worker's job at once on this thread; its results still reach the host only
// through its task channel's messages.
Spawner RunAtOnce() {
  return [](std::function<void()> job) {
    job();
    return true;
  };
}

// Points the HTML handler at a program of our own for the test's lifetime.
class HtmlHandlerScope {
 public:
  explicit HtmlHandlerScope(const std::string& command) {
    ::RegCreateKeyExW(HKEY_CLASSES_ROOT, kHtmlHandlerKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(), nullptr);
    char old[1024] = {};
    DWORD size = sizeof(old);
    had_ =
        ::RegQueryValueExA(key_.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
    old_ = old;
    ::RegSetValueExA(key_.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                     static_cast<DWORD>(command.size() + 1));
  }
  ~HtmlHandlerScope() {
    if (had_) {
      ::RegSetValueExA(key_.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(old_.c_str()),
                       static_cast<DWORD>(old_.size() + 1));
    } else {
      ::RegDeleteValueA(key_.get(), nullptr);
    }
  }

 private:
  UniqueHKey key_;
  bool had_ = false;
  std::string old_;
};

VersionCheckFunction Version(int result, const std::string& id, const std::string& url, const std::string& upgrade,
                             int* calls) {
  return [=](VersionInfo& info) {
    ++*calls;
    if (result == 0) info = VersionInfo{id, url, upgrade};
    return result;
  };
}

TEST(StartupSignIn, NoRememberedAccountMeansNoRequestAtAll) {
  FakeAccountHost host;
  ScriptedSignIn signIn;
  int versionCalls = 0;
  StartupSignIn startup;
  EXPECT_FALSE(
      startup.Start(host, {signIn.function(), Version(0, "2.0", "http://x/", "1", &versionCalls), RunAtOnce()}));
  test::PumpPendingMessages();
  EXPECT_EQ(versionCalls, 0);
  EXPECT_TRUE(signIn.calls.empty());
  EXPECT_EQ(host.state.currentUserText(), L"");
}

struct OutcomeCase {
  const char* name;
  int versionResult;
  std::string versionId;
  std::string isUpgrade;
  std::vector<int> answers;
  std::vector<std::wstring> prompts;
  UINT promptType;
  bool upgrades;
};

TEST(StartupSignIn, VersionOutcomes) {
  const std::vector<OutcomeCase> cases = {
      {"same version: no question, signs in", 0, "1.0", "1", {}, {}, 0, false},
      {"check unreachable: silent, signs in", -2, "", "", {}, {}, 0, false},
      {"obligatory upgrade", 0, "1.1", "1", {IDOK}, {kMustUpgrade}, MB_OK, true},
      {"optional upgrade, yes", 0, "1.1", "0", {IDYES}, {kMayUpgrade}, MB_YESNO, true},
      {"optional upgrade, no: signs in", 0, "1.1", "0", {IDNO}, {kMayUpgrade}, MB_YESNO, false},
      {"empty flag is optional", 0, "2.0", "", {IDNO}, {kMayUpgrade}, MB_YESNO, false},
      {"empty id differs from ours", 0, "", "", {IDNO}, {kMayUpgrade}, MB_YESNO, false},
  };
  HtmlHandlerScope handler("\"C:\\browser.exe\" \"%1\"");
  for (const OutcomeCase& c : cases) {
    FakeAccountHost host;
    host.state.Load({L"alice", L"pw"}, {{L"alice", L"pw"}}, false);
    ScriptedSignIn signIn(std::vector<ScriptedReply>{{0, 55, "blog"}});
    PromptRecorder prompts(c.answers);
    LaunchRecorder launches;
    int versionCalls = 0;
    StartupSignIn startup;
    ASSERT_TRUE(startup.Start(
        host,
        {signIn.function(), Version(c.versionResult, c.versionId, "http://dl.example/new", c.isUpgrade, &versionCalls),
         RunAtOnce()}));
    EXPECT_EQ(host.state.currentUserText(), L"当前用户:alice") << c.name;
    test::PumpPendingMessages();
    EXPECT_EQ(versionCalls, 1) << c.name;
    EXPECT_EQ(prompts.Texts(), c.prompts) << c.name;
    for (const auto& p : prompts.seen) {
      EXPECT_EQ(p.caption, L"提示") << c.name;
      EXPECT_EQ(p.owner, host.hwnd()) << c.name;
      EXPECT_EQ(p.type, c.promptType) << c.name;
    }
    if (c.upgrades) {
      EXPECT_EQ(host.upgradeEndings, 1) << c.name;
      ASSERT_EQ(launches.seen.size(), 1u) << c.name;
      EXPECT_EQ(launches.seen[0].kind, BrowserLaunchRequest::Kind::kCommandLine);
      EXPECT_EQ(launches.seen[0].text, "\"C:\\browser.exe\" \"http://dl.example/new\"") << c.name;
      EXPECT_TRUE(signIn.calls.empty()) << c.name << ": no sign-in after an upgrade";
      EXPECT_EQ(host.QuotaLine(), L"") << c.name;
    } else {
      EXPECT_EQ(host.upgradeEndings, 0) << c.name;
      EXPECT_TRUE(launches.seen.empty()) << c.name;
      ASSERT_EQ(signIn.calls.size(), 1u) << c.name;
      EXPECT_EQ(signIn.calls[0], (AccountEntry{L"alice", L"pw"}));
      EXPECT_EQ(host.QuotaLine(), L"使用了55%的本月上传空间") << c.name;
      EXPECT_EQ(host.UserLine(), L"当前用户:alice") << c.name;
      EXPECT_EQ(host.state.blogName(), "blog") << c.name;
      EXPECT_EQ(host.linkTargets, std::vector<std::string>{PhotoSiteHomePage()}) << c.name;
    }
  }
}

TEST(StartupSignIn, UnsafeDownloadAddressIsNotOpenedButTheProgramStillEnds) {
  HtmlHandlerScope handler("\"C:\\browser.exe\" \"%1\"");
  FakeAccountHost host;
  host.state.Load({L"alice", L"pw"}, {}, false);
  ScriptedSignIn signIn;
  PromptRecorder prompts({IDOK});
  LaunchRecorder launches;
  int versionCalls = 0;
  StartupSignIn startup;
  startup.Start(host, {signIn.function(), Version(0, "9", "http://x/\" & calc", "1", &versionCalls), RunAtOnce()});
  test::PumpPendingMessages();
  EXPECT_TRUE(launches.seen.empty());
  EXPECT_EQ(host.upgradeEndings, 1);
}

TEST(StartupSignIn, RejectedAccountIsForgottenFirstEntryOnly) {
  FakeAccountHost host;
  host.state.Load({L"dup", L"wrong"}, {{L"other", L"1"}, {L"dup", L"a"}, {L"dup", L"wrong"}}, false);
  KeepPasswords(host.state, nullptr);  // as the start left them
  ASSERT_EQ(test::StoredPassword(L"Fernwick (current):dup"), L"wrong");
  ScriptedSignIn signIn(std::vector<ScriptedReply>{{-1}});
  PromptRecorder prompts;
  int versionCalls = 0;
  StartupSignIn startup;
  startup.Start(host, {signIn.function(), Version(0, "1.0", "", "", &versionCalls), RunAtOnce()});
  host.RefreshAccountDisplay();
  EXPECT_EQ(host.UserLine(), L"当前用户:dup");
  test::PumpPendingMessages();
  EXPECT_TRUE(prompts.seen.empty());
  EXPECT_EQ(host.state.savedAccounts(), (std::vector<AccountEntry>{{L"other", L"1"}, {L"dup", L"wrong"}}));
  // The credentials follow the list: the remaining dup is now the first of its name.
  EXPECT_EQ(test::StoredPassword(L"Fernwick:dup"), L"wrong");
  EXPECT_EQ(test::StoredPassword(L"Fernwick#2:dup"), std::nullopt);
  EXPECT_EQ(test::StoredPassword(L"Fernwick (current):dup"), std::nullopt);
  EXPECT_EQ(test::StoredPassword(L"Fernwick:other"), L"1");
  EXPECT_EQ(host.state.currentUserName(), L"");
  EXPECT_EQ(host.state.currentPassword(), L"");
  EXPECT_EQ(host.UserLine(), L"");
  EXPECT_EQ(host.QuotaLine(), L"");
}

// No connection changes nothing. Neither does an account whose password the store did not give
// (the user's other computer, a failed read): nothing is sent, so no refusal can forget it; it
// stays, shown as not signed in, for the login dialog to complete.
TEST(StartupSignIn, NoConnectionOrNoPasswordChangesNothing) {
  const struct {
    const wchar_t* password;
    size_t signIns;
    const wchar_t* userLine;
  } cases[] = {{L"pw", 1, L"当前用户:alice"}, {L"", 0, L""}};
  for (const auto& c : cases) {
    FakeAccountHost host;
    host.state.Load({L"alice", c.password}, {{L"alice", c.password}}, false);
    ScriptedSignIn signIn(std::vector<ScriptedReply>{{c.signIns ? -2 : -1}});
    PromptRecorder prompts;
    int versionCalls = 0;
    StartupSignIn startup;
    startup.Start(host, {signIn.function(), Version(-2, "", "", "", &versionCalls), RunAtOnce()});
    host.RefreshAccountDisplay();
    const int refreshesBefore = host.refreshes;
    test::PumpPendingMessages();
    EXPECT_EQ(signIn.calls.size(), c.signIns);
    EXPECT_TRUE(prompts.seen.empty());
    EXPECT_EQ(host.refreshes, refreshesBefore);
    EXPECT_EQ(host.UserLine(), c.userLine);
    EXPECT_EQ(host.QuotaLine(), L"");
    EXPECT_EQ(host.state.savedAccounts(), (std::vector<AccountEntry>{{L"alice", c.password}}));
    EXPECT_EQ(host.state.currentUserName(), L"alice");
  }
}

TEST(StartupSignIn, AnswerForAnAccountNoLongerCurrentIsDropped) {
  FakeAccountHost host;
  host.state.Load({L"alice", L"pw"}, {{L"alice", L"pw"}, {L"bob", L"b"}}, false);
  ScriptedSignIn signIn(std::vector<ScriptedReply>{{-1}});
  int versionCalls = 0;
  StartupSignIn startup;
  startup.Start(host, {signIn.function(), Version(-2, "", "", "", &versionCalls), RunAtOnce()});
  // The user switched to bob (settings dialog) before the answer arrived.
  host.state.Switch({L"bob", L"b"});
  test::PumpPendingMessages();
  EXPECT_EQ(host.state.currentUserName(), L"bob");
  EXPECT_EQ(host.state.savedAccounts().size(), 2u);
}

// The real worker thread: the answer arrives through the message queue.
// Sets its event when destroyed: tells a test when the last copy of what a worker holds is gone.
struct EndSignal {
  explicit EndSignal(HANDLE e) : event(e) {}
  EndSignal(const EndSignal&) = delete;
  EndSignal& operator=(const EndSignal&) = delete;
  ~EndSignal() { ::SetEvent(event); }
  HANDLE event;
};

// A worker whose job fails (no memory for its answer, say) ends by itself; the failure never
// reaches the thread's entry, where it would end the whole program.
TEST(StartupSignIn, FailingWorkerEndsQuietly) {
  UniqueHandle ended(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  auto signal = std::make_shared<EndSignal>(ended.get());
  std::atomic<bool> ran{false};
  DetachedThread()([signal, &ran] {
    ran = true;
    throw std::bad_alloc();
  });
  signal.reset();
  // The job, and the signal it holds, go when the thread ends.
  ASSERT_EQ(::WaitForSingleObject(ended.get(), 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_TRUE(ran.load());
}

TEST(StartupSignIn, WorkerThreadHandsTheResultToTheUiThread) {
  FakeAccountHost host;
  host.state.Load({L"alice", L"pw"}, {}, false);
  std::atomic<DWORD> signInThread{0};
  int versionCalls = 0;
  AccountServices services{[&](const std::wstring&, const std::wstring&, std::string&, int& percent, std::string&) {
                             signInThread = ::GetCurrentThreadId();
                             percent = 12;
                             return 0;
                           },
                           Version(-2, "", "", "", &versionCalls)};
  StartupSignIn startup;
  ASSERT_TRUE(startup.Start(host, services));
  for (int i = 0; i < 1000 && host.QuotaLine().empty(); ++i) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    test::PumpPendingMessages();
  }
  EXPECT_EQ(host.QuotaLine(), L"使用了12%的本月上传空间");
  EXPECT_NE(signInThread.load(), ::GetCurrentThreadId());
}

// Closing the program while the server has not answered yet: the late answer is dropped,
// and the worker ends without touching the host, whichever goes first: the main window (its
// task channel closes) or the sign-in object.
TEST(StartupSignIn, ClosingWhileTheServerIsSilentIsSafe) {
  struct GoneCase {
    const char* name;
    bool windowGoes;
    bool signInGoes;
  };
  const GoneCase cases[] = {
      {"window and sign-in go", true, true},
      {"only the window goes", true, false},
      {"only the sign-in object goes", false, true},
  };
  for (const GoneCase& c : cases) {
    FakeAccountHost host;
    host.state.Load({L"alice", L"pw"}, {}, false);
    UniqueHandle answer(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    UniqueHandle workerGone(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    // Set when the last copy of the services (held by the worker's job) is gone.
    auto signal = std::make_shared<EndSignal>(workerGone.get());
    HANDLE answerEvent = answer.get();
    int versionCalls = 0;
    AccountServices services{
        [signal, answerEvent](const std::wstring&, const std::wstring&, std::string&, int& percent, std::string&) {
          ::WaitForSingleObject(answerEvent, INFINITE);
          percent = 99;
          return 0;
        },
        Version(-2, "", "", "", &versionCalls)};
    auto startup = std::make_unique<StartupSignIn>();
    ASSERT_TRUE(startup->Start(host, std::move(services))) << c.name;
    signal.reset();
    if (c.windowGoes) host.CloseTasks();
    if (c.signInGoes) startup.reset();
    EXPECT_EQ(::WaitForSingleObject(workerGone.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << c.name << ": waiting";
    ::SetEvent(answer.get());
    // A posted answer keeps the job until the UI thread has handled (or dropped) it.
    HANDLE gone = workerGone.get();
    for (int i = 0; i < 1000 && ::WaitForSingleObject(gone, 0) != WAIT_OBJECT_0; ++i) {
      ::MsgWaitForMultipleObjects(1, &gone, FALSE, 10, QS_ALLINPUT);
      test::PumpPendingMessages();
    }
    EXPECT_EQ(::WaitForSingleObject(gone, 0), WAIT_OBJECT_0) << c.name << ": the worker ended";
    test::PumpPendingMessages();
    EXPECT_EQ(host.QuotaLine(), L"") << c.name;
    EXPECT_EQ(host.refreshes, 0) << c.name;
    EXPECT_TRUE(host.linkTargets.empty()) << c.name;
  }
}

}  // namespace
}  // namespace fernwick
