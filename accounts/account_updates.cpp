#include "accounts/account_updates.h"

#include <algorithm>
#include <string>

#include "accounts/core/account_texts.h"
#include "base/core/web_pages.h"
#include "base/text_936.h"
#include "base/ui_thread.h"

namespace fernwick {

std::wstring CurrentUserText(const std::wstring& userName) { return L"当前用户:" + userName; }


void ApplySignedIn(AccountHost& host, const AccountEntry& account, const SignInAnswer& answer) {
  AssertUiThread();
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
  AssertUiThread();
  state.currentUserName.clear();
  state.currentPassword.clear();
  state.quotaText.clear();
  state.currentUserText.clear();
}

bool RemoveFirstMatchingAccount(AccountState& state, const AccountEntry& entry) {
  AssertUiThread();
  auto found = std::find(state.savedAccounts.begin(), state.savedAccounts.end(), entry);
  if (found == state.savedAccounts.end()) return false;
  state.savedAccounts.erase(found);
  return true;
}

}  // namespace fernwick
