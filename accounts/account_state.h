#pragma once
// The account in use and the saved accounts, held by the main window. Only the UI thread
// reads or writes them (the window's accessor checks it); other threads hand their results to it.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "accounts/core/account_entry.h"
#include "base/ui_task.h"

namespace fernwick {

struct AccountState {
  std::wstring currentUserName;
  std::wstring currentPassword;
  std::string blogName;   // blogname of the last successful sign-in, as the server sent it
  std::string authToken;  // authstr of the last successful sign-in
  std::vector<AccountEntry> savedAccounts;
  std::wstring quotaText;        // shown in IDC_MAIN_QUOTA
  std::wstring currentUserText;  // shown in IDC_MAIN_CURRENT_USER
  // The settings file was there but could not be read (locked, access denied): saving then
  // leaves it alone, since the empty state loaded in its place would wipe the accounts in it.
  bool settingsUnreadable = false;
  // Credentials the store had but would not give at start (a read that failed, not "not found"):
  // they are never written over nor deleted, since the password in them is still the user's.
  std::vector<std::wstring> unreadCredentials;
};

// What the account dialogs and the start-up sign-in need from the main window.
class AccountHost {
 public:
  virtual AccountState& accounts() noexcept = 0;
  // Transfers quotaText and currentUserText to their controls.
  virtual void RefreshAccountDisplay() = 0;
  virtual HWND hwnd() const noexcept = 0;
  // Points the picture link on IDC_MAIN_PHOTO_SITE_LINK at `address` (after each sign-in or sign-out).
  virtual void SetPhotoSiteLinkTarget(const std::string& address) = 0;
  // Ends the main window's modal loop with 1 so the program can end (a new version must be
  // fetched); called on the UI thread. The settings are saved by the window's destruction.
  virtual void EndForUpgrade() { ::EndDialog(hwnd(), 1); }
  // How workers hand their results to the UI thread; closed when the window goes.
  virtual std::shared_ptr<UiTaskChannel> uiTasks() const = 0;

 protected:
  ~AccountHost() = default;
};

}  // namespace fernwick
