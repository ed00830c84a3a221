#pragma once
// Picks the account that uploads, adds accounts (through the login dialog), deletes them, and
// chooses the picture size limit (template IDD_SETTINGS). Switching to another account on OK signs it in
// on a worker: meanwhile the dialog's choices wait, Cancel still closes, a late answer is dropped.
#include <functional>
#include <optional>

#include "accounts/account_services.h"
#include "accounts/account_state.h"
#include "base/answer_guard.h"
#include "accounts/waiting_controls.h"
#include "controls/dialog_base.h"
#include "res/resource.h"

namespace fernwick {

inline constexpr int kSettingsDialogTemplate = IDD_SETTINGS;

class SettingsDialog : public DialogBase {
 public:
  // Runs the login dialog to add an account; true when it ended with IDOK, with what was
  // entered in `added`. The login dialog has then already saved the account and made it current.
  using AddAccountRunner = std::function<bool(AccountHost& host, AccountEntry& added)>;

  SettingsDialog(AccountHost& host, AccountServices services, AddAccountRunner addAccount);
  // The login dialog run modally, owned by the active window.
  SettingsDialog(AccountHost& host, AccountServices services);

  INT_PTR Run(HWND owner) { return RunModal(kSettingsDialogTemplate, owner); }
  std::optional<INT_PTR> endedWith() const noexcept { return endedWith_; }
  // OK chose another account and the server's answer has not arrived yet.
  bool signingIn() const noexcept { return answers_.waiting(); }

 protected:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnWindowGone() override { answers_.Drop(); }

 private:
  void OnInitDialog();
  void OnAddUser();
  void OnDeleteUser();
  void OnOk();
  void OnSignInAnswer(const AccountEntry& chosen, const SignInAnswer& answer);
  // The last steps of OK: the size choice applies, the dialog ends.
  void ApplySizeAndEnd();
  void Finish(INT_PTR result);
  void SelectBoth(int index);
  int FindAccount(const std::wstring& userName) const;

  AccountHost& host_;
  AccountServices services_;
  AddAccountRunner addAccount_;
  AnswerGuard answers_;
  WaitingControls waiting_;
  std::optional<INT_PTR> endedWith_;
};

}  // namespace fernwick
