#pragma once
// Shared pieces of the account tests: a main window stand-in, scripted server answers, and
// recorders for message boxes and browser launches.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "accounts/account_services.h"
#include "accounts/account_state.h"
#include "accounts/credential_store.h"
#include "base/browser_launch.h"
#include "base/prompt.h"
#include "base/ui_task.h"
#include "base/handles.h"

#include "window_helpers.h"

namespace fernwick::test {

// A window with the two status lines (IDC_MAIN_QUOTA, IDC_MAIN_CURRENT_USER) the account code shows
// its texts in; records link targets and upgrade endings instead of owning real ones.
class FakeAccountHost : public AccountHost {
 public:
  FakeAccountHost();
  ~FakeAccountHost();
  FakeAccountHost(const FakeAccountHost&) = delete;
  FakeAccountHost& operator=(const FakeAccountHost&) = delete;
  AccountState& accounts() noexcept override { return state; }
  void RefreshAccountDisplay() override;
  HWND hwnd() const noexcept override { return window_.get(); }
  void SetPhotoSiteLinkTarget(const std::string& address) override { linkTargets.push_back(address); }
  void EndForUpgrade() override { ++upgradeEndings; }
  std::shared_ptr<UiTaskChannel> uiTasks() const override { return tasks_; }
  // What the main window does when it goes: tasks still queued and later ones are dropped.
  void CloseTasks() { tasks_->Close(); }

  std::wstring QuotaLine() const;
  std::wstring UserLine() const;

  AccountState state;
  std::vector<std::string> linkTargets;
  int refreshes = 0;
  int upgradeEndings = 0;

 private:
  UniqueWindow window_;
  std::shared_ptr<UiTaskChannel> tasks_;
};

struct ScriptedReply {
  int result = kResultOk;
  int percent = 0;
  std::string blogName;
};

// Answers sign-ins from a list, in order (no connection once the list is used up) and
// records what was asked. Asked from the worker of each request, one request at a time; the
// test reads `calls` once the answer has arrived.
class ScriptedSignIn {
 public:
  explicit ScriptedSignIn(std::vector<ScriptedReply> replies = {}) : replies_(std::move(replies)) {}
  SignInFunction function();
  // These answers behind the program's seam, each asked on a thread of its own as the program does.
  AccountServices services() { return AccountServices{function(), nullptr}; }
  std::vector<AccountEntry> calls;

 private:
  std::vector<ScriptedReply> replies_;
  std::size_t next_ = 0;
};

struct SeenPrompt {
  HWND owner;
  std::wstring text;
  std::wstring caption;
  UINT type;
};

// Records every message box and answers it with the next of `answers` (IDOK when none left).
class PromptRecorder {
 public:
  explicit PromptRecorder(std::vector<int> answers = {});
  std::vector<SeenPrompt> seen;
  std::vector<std::wstring> Texts() const;

 private:
  std::vector<int> answers_;
  std::size_t next_ = 0;
  ScopedPromptAnswerer answerer_;
};

// Records every browser launch and reports `succeed`.
class LaunchRecorder {
 public:
  explicit LaunchRecorder(bool succeed = true);
  std::vector<BrowserLaunchRequest> seen;

 private:
  bool succeed_;
  ScopedBrowserLauncher launcher_;
};

// The password Windows' credential store holds under `target`, read with CredReadW apart from
// the program's own code; none when there is no such credential.
std::optional<std::wstring> StoredPassword(const std::wstring& target);

// A credential store that refuses every call, as a broken or locked-down one does; counts
// the writes it refused.
class FailingCredentialStore : public CredentialStore {
 public:
  bool Write(const std::wstring&, const std::wstring&, const std::wstring&) override {
    ++refusedWrites;
    return false;
  }
  Found Read(const std::wstring&, std::wstring&) override { return Found::kFailed; }
  bool Delete(const std::wstring&) override { return false; }
  std::optional<std::vector<std::wstring>> Targets(const wchar_t*) override { return std::nullopt; }
  int refusedWrites = 0;
};

}  // namespace fernwick::test
