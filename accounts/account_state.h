#pragma once
// The account in use and the saved accounts, held by the main window, and what the account
// code needs of that window. Only the UI thread reads or writes them (the window's accessor and
// every operation check it); other threads hand their results to it.
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "accounts/core/account_entry.h"
#include "base/ui_host.h"

namespace fernwick {

// What the program knows of its accounts, read through the accessors and changed only through
// the operations below, each of which leaves the fields consistent with one another and makes the
// two lines the window shows.
class AccountState {
 public:
  const std::wstring& currentUserName() const noexcept { return currentUserName_; }
  const std::wstring& currentPassword() const noexcept { return currentPassword_; }
  // The blogname of the last successful sign-in, as the server sent it.
  const std::string& blogName() const noexcept { return blogName_; }
  const std::vector<AccountEntry>& savedAccounts() const noexcept { return savedAccounts_; }
  // The settings file was there but could not be read (locked, access denied): saving then
  // leaves it alone, since the empty state loaded in its place would wipe the accounts in it.
  bool settingsUnreadable() const noexcept { return settingsUnreadable_; }
  // Credentials the store had but would not give at start (a read that failed, not "not found"):
  // they are never written over nor deleted, since the password in them is still the user's.
  const std::vector<std::wstring>& unreadCredentials() const noexcept { return unreadCredentials_; }

  const std::wstring& quotaText() const noexcept { return quotaText_; }              // IDC_MAIN_QUOTA
  const std::wstring& currentUserText() const noexcept { return currentUserText_; }  // IDC_MAIN_CURRENT_USER

  // At start, from the settings file: `current` becomes the current account (an empty one:
  // nobody), `saved` is appended to the saved accounts. `unreadable`: see settingsUnreadable().
  void Load(const AccountEntry& current, const std::vector<AccountEntry>& saved, bool unreadable);
  // At start, from the credential store: the password of saved entry `index`, the current
  // account's, and a credential the store would not give.
  void FillSavedPassword(std::size_t index, const std::wstring& password);
  void FillCurrentPassword(const std::wstring& password);
  void NoteUnreadCredential(const std::wstring& target);

  // The current account as loaded, before the server has confirmed it: its line only when its
  // password is known (an account without one shows as not signed in), no quota line.
  void ShowUnconfirmed();
  // `account` signed in: it becomes current, both lines show it, its blog name is kept.
  void SignedIn(const AccountEntry& account, int quotaPercent, const std::string& blogName);
  // The current account signed in once more (before a batch): only its blog name is kept.
  void KeepBlogName(const std::string& name);
  // `account` becomes current without a sign-in; the quota line stays as it is.
  void Switch(const AccountEntry& account);
  // Nobody is current any more: the name, the password and both lines go (the saved list stays).
  void SignOut();
  void ShowQuota(int percent);
  void HideQuota();

  // A signed-in account joins the saved list. With `fillWaiting`, a saved entry of its name
  // whose password the store did not give gets this password instead of a twin.
  void AddSaved(const AccountEntry& account, bool fillWaiting);
  // Removes the first saved entry matching both fields, byte for byte; false if none does.
  bool RemoveSaved(const AccountEntry& entry);
  // The current account was refused: the first saved entry of its name goes, and nobody is current.
  void ForgetCurrent();

 private:
  void ShowCurrentUser();

  std::wstring currentUserName_;
  std::wstring currentPassword_;
  std::string blogName_;
  std::vector<AccountEntry> savedAccounts_;
  bool settingsUnreadable_ = false;
  std::vector<std::wstring> unreadCredentials_;
  std::wstring quotaText_;
  std::wstring currentUserText_;
};

// What the account dialogs and the start-up sign-in need from the main window, beside the
// window itself and its task channel.
class AccountHost : public UiHost {
 public:
  virtual AccountState& accounts() noexcept = 0;
  // Transfers quotaText and currentUserText to their controls.
  virtual void RefreshAccountDisplay() = 0;
  // Points the picture link on IDC_MAIN_PHOTO_SITE_LINK at `address` (after each sign-in or sign-out).
  virtual void SetPhotoSiteLinkTarget(const std::string& address) = 0;
  // Ends the main window's modal loop with 1 so the program can end (a new version must be
  // fetched); called on the UI thread. The settings are saved by the window's destruction.
  virtual void EndForUpgrade() { ::EndDialog(hwnd(), 1); }
  // An account was deleted in the settings dialog: what it uploaded is forgotten with it.
  virtual void ForgetAccountHistory(const std::wstring& /*userName*/) {}

 protected:
  ~AccountHost() = default;
};

}  // namespace fernwick
