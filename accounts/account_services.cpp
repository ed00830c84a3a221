#include "accounts/account_services.h"

#include "base/background_request.h"
#include "base/log.h"
#include "service/auth_requests.h"

namespace fernwick {

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
      [](VersionInfo& info) { return CheckVersion(info); }, DetachedThread("account worker")};
}

void SignInInBackground(const AccountServices& services, std::shared_ptr<UiTaskChannel> channel, AccountEntry account,
                        std::function<void(SignInAnswer)> answered) {
  // The worker keeps its own copy of the services: the asker may be gone before it ends.
  AskInBackground<SignInAnswer>(
      services.spawn, std::move(channel),
      [services, account = std::move(account)] { return services.AskSignIn(account); }, std::move(answered));
}

}  // namespace fernwick
