#include "accounts/account_state.h"

#include <algorithm>

#include "accounts/core/account_texts.h"
#include "base/ui_thread.h"

namespace fernwick {

void AccountState::Load(const AccountEntry& current, const std::vector<AccountEntry>& saved, bool unreadable) {
  AssertUiThread();
  settingsUnreadable_ = unreadable;
  currentUserName_ = current.userName;
  currentPassword_ = current.password;
  savedAccounts_.insert(savedAccounts_.end(), saved.begin(), saved.end());
}

void AccountState::FillSavedPassword(std::size_t index, const std::wstring& password) {
  AssertUiThread();
  savedAccounts_.at(index).password = password;
}

void AccountState::FillCurrentPassword(const std::wstring& password) {
  AssertUiThread();
  currentPassword_ = password;
}

void AccountState::NoteUnreadCredential(const std::wstring& target) {
  AssertUiThread();
  unreadCredentials_.push_back(target);
}

void AccountState::ShowUnconfirmed() {
  AssertUiThread();
  if (currentPassword_.empty()) {
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
  blogName_ = name;
}

void AccountState::Switch(const AccountEntry& account) {
  AssertUiThread();
  currentUserName_ = account.userName;
  currentPassword_ = account.password;
  ShowCurrentUser();
}

void AccountState::SignOut() {
  AssertUiThread();
  currentUserName_.clear();
  currentPassword_.clear();
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
  auto waiting = std::find(savedAccounts_.begin(), savedAccounts_.end(), AccountEntry{account.userName, L""});
  if (fillWaiting && waiting != savedAccounts_.end()) {
    waiting->password = account.password;
  } else {
    savedAccounts_.push_back(account);
  }
}

bool AccountState::RemoveSaved(const AccountEntry& entry) {
  AssertUiThread();
  auto found = std::find(savedAccounts_.begin(), savedAccounts_.end(), entry);
  if (found == savedAccounts_.end()) return false;
  savedAccounts_.erase(found);
  return true;
}

void AccountState::ForgetCurrent() {
  AssertUiThread();
  auto first = std::find_if(savedAccounts_.begin(), savedAccounts_.end(),
                            [&](const AccountEntry& e) { return e.userName == currentUserName_; });
  if (first != savedAccounts_.end()) savedAccounts_.erase(first);
  SignOut();
}

// The one place the current-user line is made.
void AccountState::ShowCurrentUser() { currentUserText_ = L"当前用户:" + currentUserName_; }

}  // namespace fernwick
