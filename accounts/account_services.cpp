#include "accounts/account_services.h"

#include <thread>

#include "service/auth_requests.h"
#include "base/log.h"

namespace fernwick {

Spawner DetachedThread() {
  return [](std::function<void()> job) {
    // Nobody waits for it: it ends by itself after one pass, and what it reports after the
    // window is gone is dropped by the window's channel. Nothing may leave the thread's entry
    // (an answer that finds no memory to travel in would end the process).
    try {
      std::thread([job = std::move(job)]() noexcept {
        try {
          job();
        } catch (...) {
          LogCaughtException("account worker");
        }
      }).detach();
      return true;
    } catch (...) {
      LogCaughtException("account worker start");
      return false;
    }
  };
}

SignInAnswer AccountServices::AskSignIn(const AccountEntry& account) const {
  SignInAnswer answer;
  try {
    std::string authstr;
    if (signIn) answer.result = signIn(account.userName, account.password, authstr, answer.percent, answer.blogName);
  } catch (...) {
    LogCaughtException("sign-in");
    answer = SignInAnswer{};
  }
  return answer;
}

VersionAnswer AccountServices::AskVersion() const {
  VersionAnswer answer;
  try {
    if (checkVersion) answer.result = checkVersion(answer.info);
  } catch (...) {
    LogCaughtException("version check");
    answer.result = kResultNoExchange;
  }
  return answer;
}

AccountServices ProductionAccountServices() {
  return AccountServices{
      [](const std::wstring& userName, const std::wstring& password, std::string& authstr, int& percent,
         std::string& blogName) { return SignIn(userName, password, authstr, percent, blogName); },
      [](VersionInfo& info) { return CheckVersion(info); }, DetachedThread()};
}

}  // namespace fernwick
