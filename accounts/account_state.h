#pragma once
// The account in use and the saved accounts, held by the main window. Only the UI thread
// reads or writes them; other threads hand their results to it.
#include <windows.h>

#include <string>
#include <vector>

namespace fernwick {

struct AccountEntry {
  std::string userName;
  std::string password;
};

struct AccountState {
  std::string currentUserName;
  std::string currentPassword;
  std::string blogName;   // blogname of the last successful sign-in
  std::string authToken;  // authstr of the last successful sign-in
  std::vector<AccountEntry> savedAccounts;
  std::string quotaText;        // shown in control 1009
  std::string currentUserText;  // shown in control 1010
};

// What the account dialogs and the start-up sign-in need from the main window.
class AccountHost {
 public:
  virtual AccountState& accounts() noexcept = 0;
  // Transfers quotaText and currentUserText to their controls.
  virtual void refreshAccountDisplay() = 0;
  virtual HWND hwnd() const noexcept = 0;

 protected:
  ~AccountHost() = default;
};

}  // namespace fernwick
