#pragma once
// Asks for a user name and a password, signs in with them, and on success makes the account
// current and appends it to the saved accounts (template IDD_LOGIN). The sign-in runs on a worker:
// meanwhile the fields and OK wait, Cancel still closes, and a late answer is dropped.
#include <optional>
#include <string>

#include "accounts/account_services.h"
#include "accounts/account_state.h"
#include "base/answer_guard.h"
#include "accounts/waiting_controls.h"
#include "controls/dialog_base.h"
#include "controls/hyperlink_control.h"
#include "res/resource.h"

namespace fernwick {

inline constexpr int kLoginDialogTemplate = IDD_LOGIN;

class LoginDialog : public DialogBase {
 public:
  // signInOnly: signing in before an upload, where an already saved name is not refused.
  LoginDialog(AccountHost& host, bool signInOnly, AccountServices services);

  // Modal run owned by `owner`; IDOK after a successful sign-in, IDCANCEL otherwise.
  INT_PTR Run(HWND owner) { return RunModal(kLoginDialogTemplate, owner); }

  // The name the dialog opens with; call before Run.
  void SetUserName(const std::wstring& userName) { userName_ = userName; }
  // What was entered (still there after IDOK, so the settings dialog can list it).
  const std::wstring& userName() const noexcept { return userName_; }
  const std::wstring& password() const noexcept { return password_; }
  // The result given to EndDialog, once the dialog has ended.
  std::optional<INT_PTR> endedWith() const noexcept { return endedWith_; }
  // OK was accepted and the server's answer has not arrived yet.
  bool signingIn() const noexcept { return answers_.waiting(); }
  HyperLinkControl& registerLink() noexcept { return registerLink_; }

 protected:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnWindowGone() override { answers_.Drop(); }

 private:
  void OnInitDialog();
  void OnOk();
  void OnSignInAnswer(const SignInAnswer& answer);
  void Finish(INT_PTR result);
  void Tell(const wchar_t* text, const wchar_t* caption = L"");

  AccountHost& host_;
  bool signInOnly_;
  AccountServices services_;
  AnswerGuard answers_;
  WaitingControls waiting_;
  std::wstring userName_;
  std::wstring password_;
  HyperLinkControl registerLink_;
  std::optional<INT_PTR> endedWith_;
};

}  // namespace fernwick
