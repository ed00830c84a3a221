#include "accounts/startup_sign_in.h"

#include <algorithm>
#include <thread>

#include "accounts/account_updates.h"
#include "base/browser_integration.h"
#include "base/prompt.h"

namespace fernwick {

struct StartupSignIn::Job {
  std::string userName;
  std::string password;
  AccountServices services;
  std::shared_ptr<UiTaskChannel> channel;
  std::weak_ptr<StartupSignIn*> owner;
};

namespace {

int CheckVersionSafely(const AccountServices& services, VersionInfo& info) {
  try {
    return services.checkVersion ? services.checkVersion(info) : kResultNoExchange;
  } catch (...) {
    return kResultNoExchange;
  }
}

}  // namespace

StartupSignIn::Spawner StartupSignIn::DetachedThread() {
  return [](std::function<void()> job) {
    // Nobody waits for it: it ends by itself after one pass, and what it reports after the
    // main window is gone is dropped by the window's channel. Nothing may leave the thread's
    // entry (an answer that finds no memory to travel in would end the process), and a thread
    // the system refuses is a sign-in that never answers, like a silent server.
    try {
      std::thread([job = std::move(job)]() noexcept {
        try {
          job();
        } catch (...) {
        }
      }).detach();
    } catch (...) {
    }
  };
}

bool StartupSignIn::Start(AccountHost& host, AccountServices services, Spawner spawner) {
  AccountState& state = host.accounts();
  std::shared_ptr<UiTaskChannel> channel = host.uiTasks();
  if (state.currentUserName.empty() || host_ || !channel) return false;
  state.currentUserText = CurrentUserText(state.currentUserName);
  state.quotaText.clear();

  host_ = &host;
  spawner_ = std::move(spawner);
  self_ = std::make_shared<StartupSignIn*>(this);
  auto job = std::make_shared<Job>(
      Job{state.currentUserName, state.currentPassword, std::move(services), std::move(channel), self_});
  spawner_([job] {
    VersionInfo info;
    const int result = CheckVersionSafely(job->services, info);
    if (result == kResultOk && info.versionId != kProgramVersion) {
      Report(job, [job, result, info](StartupSignIn& self) { self.RunVersionOutcome(job, result, info); });
      return;
    }
    SignInAndReport(job);
  });
  return true;
}

void StartupSignIn::Report(const std::shared_ptr<Job>& job, std::function<void(StartupSignIn&)> step) {
  // Both the check and the step run on the UI thread, where this object is destroyed too.
  job->channel->Post([owner = job->owner, step = std::move(step)] {
    if (std::shared_ptr<StartupSignIn*> self = owner.lock()) step(**self);
  });
}

void StartupSignIn::RunVersionOutcome(const std::shared_ptr<Job>& job, int, const VersionInfo& info) {
  bool upgrade = true;
  if (info.isUpgrade == "1") {
    ShowPrompt(host_->hwnd(), "现在有新的版本，你必须下载新的版本才能继续使用.", "提示", MB_OK);
  } else {
    upgrade = ShowPrompt(host_->hwnd(), "现在有新的版本，你要下载新的版本吗？", "提示", MB_YESNO) == IDYES;
  }
  if (upgrade) {
    OpenUrlInBrowser(info.versionUrl);
    host_->EndForUpgrade();
    return;
  }
  StartSignIn(job);
}

void StartupSignIn::StartSignIn(const std::shared_ptr<Job>& job) {
  spawner_([job] { SignInAndReport(job); });
}

void StartupSignIn::SignInAndReport(const std::shared_ptr<Job>& job) {
  const SignInAnswer answer = AskSignIn(job->services.signIn, job->userName, job->password);
  Report(job, [job, answer](StartupSignIn& self) { self.ApplySignIn(job, answer); });
}

void StartupSignIn::ApplySignIn(const std::shared_ptr<Job>& job, const SignInAnswer& answer) {
  AccountState& state = host_->accounts();
  // The user may have switched or signed out meanwhile (settings or login dialog); the answer
  // is about an account that is no longer the current one then.
  if (state.currentUserName != job->userName || state.currentPassword != job->password) return;
  if (answer.result == kResultOk) {
    ApplySignedIn(*host_, job->userName, job->password, answer.percent, answer.blogName);
  } else if (answer.result == kResultRefused) {
    auto& saved = state.savedAccounts;
    auto first = std::find_if(saved.begin(), saved.end(),
                              [&](const AccountEntry& e) { return e.userName == state.currentUserName; });
    if (first != saved.end()) saved.erase(first);
    ClearCurrentAccount(state);
    host_->RefreshAccountDisplay();
  }
  // No connection: nothing changes and nothing is shown.
}

}  // namespace fernwick
