#include "accounts/account_state.h"

#include <algorithm>

#include "accounts/core/account_texts.h"
#include "base/ui_thread.h"

namespace fernwick {

void AccountState::Load(const AccountEntry& current, const std::vector<AccountEntry>& saved, bool unreadable) {
  AssertUiThread();
  settingsUnreadable = unreadable;
  currentUserName = current.userName;
  currentPassword = current.password;
  savedAccounts.insert(savedAccounts.end(), saved.begin(), saved.end());
}

void AccountState::FillSavedPassword(std::size_t index, const std::wstring& password) {
  AssertUiThread();
  savedAccounts.at(index).password = password;
}

void AccountState::FillCurrentPassword(const std::wstring& password) {
  AssertUiThread();
  currentPassword = password;
}

void AccountState::NoteUnreadCredential(const std::wstring& target) {
  AssertUiThread();
  unreadCredentials.push_back(target);
}

void AccountState::ShowUnconfirmed() {
  AssertUiThread();
  if (currentPassword.empty()) {
    currentUserText_.clear();
  } else {
    ShowCurrentUser();
  }
  quotaText_.clear();
}

void AccountState::SignedIn(const AccountEntry& account, int quotaPercent, const std::string& blogName) {
  Switch(account);
  ShowQuota(quotaPercent);
  KeepBlogName(blogName);
}

void AccountState::KeepBlogName(const std::string& name) {
  AssertUiThread();
  blogName = name;
}

void AccountState::Switch(const AccountEntry& account) {
  AssertUiThread();
  currentUserName = account.userName;
  currentPassword = account.password;
  ShowCurrentUser();
}

void AccountState::SignOut() {
  AssertUiThread();
  currentUserName.clear();
  currentPassword.clear();
  currentUserText_.clear();
  quotaText_.clear();
}

void AccountState::ShowQuota(int percent) {
  AssertUiThread();
  quotaText_ = QuotaText(percent);
}

void AccountState::HideQuota() {
  AssertUiThread();
  quotaText_.clear();
}

void AccountState::AddSaved(const AccountEntry& account, bool fillWaiting) {
  AssertUiThread();
  auto waiting = std::find(savedAccounts.begin(), savedAccounts.end(), AccountEntry{account.userName, L""});
  if (fillWaiting && waiting != savedAccounts.end()) {
    waiting->password = account.password;
  } else {
    savedAccounts.push_back(account);
  }
}

bool AccountState::RemoveSaved(const AccountEntry& entry) {
  AssertUiThread();
  auto found = std::find(savedAccounts.begin(), savedAccounts.end(), entry);
  if (found == savedAccounts.end()) return false;
  savedAccounts.erase(found);
  return true;
}

void AccountState::ForgetCurrent() {
  AssertUiThread();
  auto first = std::find_if(savedAccounts.begin(), savedAccounts.end(),
                            [&](const AccountEntry& e) { return e.userName == currentUserName; });
  if (first != savedAccounts.end()) savedAccounts.erase(first);
  SignOut();
}

// The one place the current-user line is made.
void AccountState::ShowCurrentUser() { currentUserText_ = L"当前用户:" + currentUserName; }

}  // namespace fernwick
