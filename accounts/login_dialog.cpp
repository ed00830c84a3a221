#include "accounts/login_dialog.h"

#include <algorithm>

#include "accounts/account_updates.h"
#include "accounts/core/account_texts.h"
#include "accounts/saved_passwords.h"
#include "controls/control_text.h"
#include "base/core/web_pages.h"
#include "base/prompt.h"
#include "base/text_936.h"

namespace fernwick {

namespace {
constexpr int kUserNameEdit = IDC_LOGIN_USER_NAME;
constexpr int kPasswordEdit = IDC_LOGIN_PASSWORD;
constexpr int kRegisterLink = IDC_LOGIN_REGISTER_LINK;
constexpr int kFieldLimit = 30;
}  // namespace

LoginDialog::LoginDialog(AccountHost& host, bool signInOnly, AccountServices services)
    : host_(host),
      signInOnly_(signInOnly),
      services_(std::move(services)),
      registerLink_(HyperLinkControl::kMarkupInCaption | HyperLinkControl::kBoldLinkText |
                    HyperLinkControl::kLinkFontOnHover) {}

std::optional<LRESULT> LoginDialog::OnMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_SETCURSOR:
      if (waiting_.ShowBusyPointer()) return TRUE;
      return std::nullopt;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          OnOk();
          return 0;
        case IDCANCEL:
          Finish(IDCANCEL);
          return 0;
        default:
          return std::nullopt;
      }
    default:
      return std::nullopt;
  }
}

void LoginDialog::OnInitDialog() {
  CenterWindowOver(hwnd(), ::GetParent(hwnd()));
  ::SendDlgItemMessageW(hwnd(), kUserNameEdit, EM_LIMITTEXT, kFieldLimit, 0);
  ::SendDlgItemMessageW(hwnd(), kPasswordEdit, EM_LIMITTEXT, kFieldLimit, 0);
  registerLink_.SetTarget(RegistrationPage());
  ::SetDlgItemTextW(hwnd(), kUserNameEdit, userName_.c_str());
  ::SetDlgItemTextW(hwnd(), kPasswordEdit, password_.c_str());
  registerLink_.Attach(Item(kRegisterLink));
}

void LoginDialog::Tell(const wchar_t* text, const wchar_t* caption) { ShowPrompt(hwnd(), text, caption, MB_OK); }

void LoginDialog::OnOk() {
  if (signingIn()) return;  // Enter pressed again while the server is asked
  userName_ = WindowText(Item(kUserNameEdit));
  password_ = WindowText(Item(kPasswordEdit));
  if (userName_.empty()) return Tell(L"请输入用户名.");
  if (password_.empty()) return Tell(L"请输入密码.");
  // The service knows names and passwords in code page 936 only: one that it cannot hold
  // could never match, so it is not sent at all.
  if (!To936Exact(userName_) || !To936Exact(password_)) return Tell(kUnusableCharacterText);
  AccountState& state = host_.accounts();
  if (!signInOnly_ && std::any_of(state.savedAccounts().begin(), state.savedAccounts().end(),
                                  [&](const AccountEntry& e) { return e.userName == userName_; })) {
    return Tell(L"用户名已经存在.");
  }

  waiting_.Begin(hwnd(), {kUserNameEdit, kPasswordEdit, IDOK});
  SignInInBackground(services_, host_.uiTasks(), AccountEntry{userName_, password_},
                     answers_.Wrap<SignInAnswer>([this](const SignInAnswer& answer) { OnSignInAnswer(answer); }));
}

void LoginDialog::OnSignInAnswer(const SignInAnswer& answer) {
  waiting_.End();
  if (answer.result != kResultOk) return Tell(SignInFailureText(answer.result));
  const AccountEntry account{userName_, password_};
  // Signing in before an upload, a saved account whose password the store did not give gets
  // this one instead of a twin.
  host_.accounts().AddSaved(account, signInOnly_);
  ApplySignedIn(host_, account, answer);
  KeepPasswords(host_.accounts(), hwnd(), L"");  // the dialog's messages have no caption
  Finish(IDOK);
}

void LoginDialog::Finish(INT_PTR result) {
  // Cancel while the server is asked: its answer no longer concerns anybody.
  answers_.Drop();
  endedWith_ = result;
  ::EndDialog(hwnd(), result);
}

}  // namespace fernwick
