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

void ApplySignedIn(AccountHost& host, const AccountEntry& account, const SignInAnswer& answer) {
  AccountState& state = host.accounts();
  state.currentUserName = account.userName;
  state.currentPassword = account.password;
  state.currentUserText = CurrentUserText(account.userName);
  state.quotaText = QuotaText(answer.percent);
  state.blogName = answer.blogName;
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
