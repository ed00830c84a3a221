#include "accounts/account_updates.h"

#include <algorithm>
#include <cstdio>

#include "base/core/web_pages.h"

namespace fernwick {

std::string CurrentUserText(const std::string& userName) { return "当前用户:" + userName; }

std::string QuotaText(int percent) {
  char text[64] = {};
  std::snprintf(text, sizeof(text), "使用了%d%%的本月上传空间", percent);
  return text;
}

SignInAnswer AskSignIn(const SignInFunction& signIn, const std::string& userName, const std::string& password) {
  SignInAnswer answer;
  try {
    std::string authstr;
    if (signIn) answer.result = signIn(userName, password, authstr, answer.percent, answer.blogName);
  } catch (...) {
    answer = SignInAnswer{};
  }
  return answer;
}

const char* SignInFailureText(int result) {
  return result == kResultRefused ? "用户名或密码错误." : "不能连接服务器,请检查网络.";
}

void ApplySignedIn(AccountHost& host, const std::string& userName, const std::string& password, int percent,
                   const std::string& blogName) {
  AccountState& state = host.accounts();
  state.currentUserName = userName;
  state.currentPassword = password;
  state.currentUserText = CurrentUserText(userName);
  state.quotaText = QuotaText(percent);
  state.blogName = blogName;
  host.SetPhotoSiteLinkTarget(PhotoSiteHomePage());
  host.RefreshAccountDisplay();
}

void ClearCurrentAccount(AccountState& state) {
  state.currentUserName.clear();
  state.currentPassword.clear();
  state.quotaText.clear();
  state.currentUserText.clear();
}

bool RemoveFirstMatchingAccount(AccountState& state, const AccountEntry& entry) {
  auto found = std::find(state.savedAccounts.begin(), state.savedAccounts.end(), entry);
  if (found == state.savedAccounts.end()) return false;
  state.savedAccounts.erase(found);
  return true;
}

}  // namespace fernwick
