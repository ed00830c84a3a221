#pragma once
// At start, with a remembered account: asks the server whether a newer program exists (and
// may end the program so that the user fetches it), then signs the account in and shows its
// quota; a rejected account is forgotten. The network waits happen on a worker thread; every
// change to the main window is made on the UI thread, through the window's task channel. A
// late answer is dropped when the window or this object is gone, so closing the program while
// the server is still silent is safe.
#include <functional>
#include <memory>
#include <string>

#include "accounts/account_services.h"
#include "accounts/account_state.h"
#include "accounts/account_updates.h"

namespace fernwick {

class StartupSignIn {
 public:
  // How a worker is started: the program detaches a thread; tests may run the job at once.
  using Spawner = std::function<void(std::function<void()> job)>;

  StartupSignIn() = default;
  ~StartupSignIn() = default;  // answers still on their way are dropped
  StartupSignIn(const StartupSignIn&) = delete;
  StartupSignIn& operator=(const StartupSignIn&) = delete;

  // On the UI thread, right after LoadSettings. With a current account: sets currentUserText
  // to "当前用户:<name>" and empties quotaText (the caller shows them with
  // RefreshAccountDisplay), then starts the worker and returns true. Without one, or while the
  // host has no task channel yet: false, and neither the version check nor the sign-in happens.
  bool Start(AccountHost& host, AccountServices services, Spawner spawner = DetachedThread());

  static Spawner DetachedThread();

 private:
  struct Job;
  void RunVersionOutcome(const std::shared_ptr<Job>& job, int result, const VersionInfo& info);
  void StartSignIn(const std::shared_ptr<Job>& job);
  // On the worker: signs in and hands the answer to the UI thread.
  static void SignInAndReport(const std::shared_ptr<Job>& job);
  void ApplySignIn(const std::shared_ptr<Job>& job, const SignInAnswer& answer);
  // Any thread: runs `step` on the UI thread if this object is still there then.
  static void Report(const std::shared_ptr<Job>& job, std::function<void(StartupSignIn&)> step);

  AccountHost* host_ = nullptr;
  Spawner spawner_;
  // Tasks hold it weakly: once this object is gone they find it empty and do nothing.
  std::shared_ptr<StartupSignIn*> self_;
};

}  // namespace fernwick
