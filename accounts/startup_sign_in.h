#pragma once
// At start, with a remembered account: asks the server whether a newer program exists (and
// may end the program so that the user fetches it), then signs the account in and shows its
// quota; a rejected account is forgotten. The network waits happen on a worker thread; every
// change to the main window is made on the UI thread, through the window's task channel. A
// late answer is dropped when the window or this object is gone, so closing the program while
// the server is still silent is safe.
#include <string>

#include "accounts/account_services.h"
#include "accounts/account_state.h"
#include "base/answer_guard.h"

namespace fernwick {

class StartupSignIn {
 public:
  StartupSignIn() = default;
  ~StartupSignIn() = default;  // answers still on their way are dropped
  StartupSignIn(const StartupSignIn&) = delete;
  StartupSignIn& operator=(const StartupSignIn&) = delete;

  // On the UI thread, right after LoadSettings. With a current account: shows it as not yet
  // confirmed (AccountState::ShowUnconfirmed; the caller shows the lines with
  // RefreshAccountDisplay), then starts the worker and returns true. Without one, or while the
  // host has no task channel yet: false, and neither the version check nor the sign-in happens.
  bool Start(AccountHost& host, AccountServices services);

 private:
  struct FirstAnswer;
  // The worker's first pass: the version check, then, unless a newer program makes the user
  // decide first, the sign-in.
  static FirstAnswer AskVersionThenSignIn(const AccountServices& services, const AccountEntry& account);
  void OnFirstAnswer(const AccountServices& services, const FirstAnswer& answer);
  // True when the program ends for a newer version (the user was told or agreed).
  bool OfferNewVersion(const VersionInfo& info);
  void OnSignInAnswer(const SignInAnswer& answer);

  AccountHost* host_ = nullptr;
  AccountEntry account_;  // as it was at start; the sign-in is about this one
  AnswerGuard answers_;
};

}  // namespace fernwick
