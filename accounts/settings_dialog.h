#pragma once
// Picks the account that uploads, adds accounts (through the login dialog), deletes them, and
// chooses the picture size limit (template 201).
#include <functional>
#include <optional>

#include "accounts/account_services.h"
#include "accounts/account_state.h"
#include "controls/dialog_base.h"
#include "res/resource.h"

namespace fernwick {

inline constexpr int kSettingsDialogTemplate = IDD_SETTINGS;

class SettingsDialog : public DialogBase {
 public:
  // Runs the login dialog to add an account; true when it ended with IDOK, with what was
  // entered in `added`. The login dialog has then already saved the account and made it current.
  using AddAccountRunner = std::function<bool(AccountHost& host, AccountEntry& added)>;

  SettingsDialog(AccountHost& host, SignInFunction signIn, AddAccountRunner addAccount);
  // The login dialog run modally, owned by the active window.
  SettingsDialog(AccountHost& host, SignInFunction signIn);

  INT_PTR Run(HWND owner) { return RunModal(kSettingsDialogTemplate, owner); }
  std::optional<INT_PTR> endedWith() const noexcept { return endedWith_; }

 protected:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnInitDialog();
  void OnAddUser();
  void OnDeleteUser();
  void OnOk();
  void Finish(INT_PTR result);
  void SelectBoth(int index);
  int FindAccount(const std::string& userName) const;

  AccountHost& host_;
  SignInFunction signIn_;
  AddAccountRunner addAccount_;
  std::optional<INT_PTR> endedWith_;
};

}  // namespace fernwick
