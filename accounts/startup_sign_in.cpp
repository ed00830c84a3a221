#include "accounts/startup_sign_in.h"

#include <optional>

#include "accounts/account_updates.h"
#include "base/background_request.h"
#include "accounts/core/account_texts.h"
#include "accounts/saved_passwords.h"
#include "base/browser_integration.h"
#include "base/prompt.h"

namespace fernwick {

struct StartupSignIn::FirstAnswer {
  VersionAnswer version;
  std::optional<SignInAnswer> signIn;  // none when the user must first decide about a new version
};

namespace {
bool NewerProgram(const VersionAnswer& answer) {
  return answer.result == kResultOk && answer.info.versionId != kProgramVersion;
}
}  // namespace

bool StartupSignIn::Start(AccountHost& host, AccountServices services) {
  AccountState& state = host.accounts();
  std::shared_ptr<UiTaskChannel> channel = host.uiTasks();
  if (state.currentUserName().empty() || host_ || !channel) return false;
  // An account whose password the store did not give is shown as not signed in: the next action
  // that needs it asks for the password.
  state.ShowUnconfirmed();

  host_ = &host;
  account_ = AccountEntry{state.currentUserName(), state.currentPassword()};
  // The answer carries the services for a sign-in after the question; this object keeps none,
  // so nothing of the worker's outlives the worker and its answer.
  AskInBackground<FirstAnswer>(
      services.spawn, std::move(channel),
      [services, account = account_] { return AskVersionThenSignIn(services, account); },
      answers_.Wrap<FirstAnswer>([this, services](const FirstAnswer& answer) { OnFirstAnswer(services, answer); }));
  return true;
}

StartupSignIn::FirstAnswer StartupSignIn::AskVersionThenSignIn(const AccountServices& services,
                                                               const AccountEntry& account) {
  FirstAnswer answer;
  answer.version = services.AskVersion();
  // Never an empty password: the server would refuse it, and a refused account is forgotten.
  if (!NewerProgram(answer.version) && !account.password.empty()) answer.signIn = services.AskSignIn(account);
  return answer;
}

void StartupSignIn::OnFirstAnswer(const AccountServices& services, const FirstAnswer& answer) {
  if (answer.signIn) return OnSignInAnswer(*answer.signIn);
  if (!NewerProgram(answer.version) || OfferNewVersion(answer.version.info) || account_.password.empty()) return;
  SignInInBackground(services, host_->uiTasks(), account_,
                     answers_.Wrap<SignInAnswer>([this](const SignInAnswer& signIn) { OnSignInAnswer(signIn); }));
}

bool StartupSignIn::OfferNewVersion(const VersionInfo& info) {
  bool upgrade = true;
  if (info.isUpgrade == "1") {
    ShowPrompt(host_->hwnd(), L"现在有新的版本，你必须下载新的版本才能继续使用.", kNoticeCaption, MB_OK);
  } else {
    upgrade = ShowPrompt(host_->hwnd(), L"现在有新的版本，你要下载新的版本吗？", kNoticeCaption, MB_YESNO) == IDYES;
  }
  if (!upgrade) return false;
  OpenUrlInBrowser(info.versionUrl);
  host_->EndForUpgrade();
  return true;
}

void StartupSignIn::OnSignInAnswer(const SignInAnswer& answer) {
  AccountState& state = host_->accounts();
  // The user may have switched or signed out meanwhile (settings or login dialog); the answer
  // is about an account that is no longer the current one then.
  if (state.currentUserName() != account_.userName || state.currentPassword() != account_.password) return;
  if (answer.result == kResultOk) {
    ApplySignedIn(*host_, account_, answer);
  } else if (answer.result == kResultRefused) {
    state.ForgetCurrent();
    KeepPasswords(state, host_->hwnd());  // the refused password goes from the store too
    host_->RefreshAccountDisplay();
  }
  // No connection: nothing changes and nothing is shown.
}

}  // namespace fernwick
