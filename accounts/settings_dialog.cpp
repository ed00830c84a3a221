#include "accounts/settings_dialog.h"

#include <algorithm>

#include "accounts/account_updates.h"
#include "accounts/core/account_texts.h"
#include "accounts/login_dialog.h"
#include "accounts/saved_passwords.h"
#include "controls/control_text.h"
#include "base/core/web_pages.h"
#include "base/program_state.h"
#include "base/prompt.h"

namespace fernwick {

namespace {
constexpr int kAddUserButton = IDC_SETTINGS_ADD_USER;
constexpr int kLimitRadio = IDC_SETTINGS_LIMIT;
constexpr int kNoScalingRadio = IDC_SETTINGS_NO_SCALING;
constexpr int kAccountCombo = IDC_SETTINGS_ACCOUNTS;
constexpr int kDeleteUserButton = IDC_SETTINGS_DELETE_USER;
constexpr int kSizeCombo = IDC_SETTINGS_SIZES;
constexpr int kPasswordCombo = IDC_SETTINGS_PASSWORDS;

constexpr int kSizeChoices[] = {800, 1024, 1280};
constexpr const wchar_t* kSizeTexts[] = {L"800像素", L"1024像素", L"1280像素"};
// "不缩放图片的尺寸" still keeps photos at most this large.
constexpr int kNoScalingLimit = 1600;

int AddComboText(HWND combo, const std::wstring& text) {
  return static_cast<int>(::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}
}  // namespace

SettingsDialog::SettingsDialog(AccountHost& host, AccountServices services, AddAccountRunner addAccount)
    : host_(host), services_(std::move(services)), addAccount_(std::move(addAccount)) {}

SettingsDialog::SettingsDialog(AccountHost& host, AccountServices services)
    : SettingsDialog(host, services, [services](AccountHost& owner, AccountEntry& added) {
        LoginDialog login(owner, false, services);
        if (login.Run(::GetActiveWindow()) != IDOK) return false;
        added = AccountEntry{login.userName(), login.password()};
        return true;
      }) {}

std::optional<LRESULT> SettingsDialog::OnMessage(UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    OnInitDialog();
    return TRUE;
  }
  if (message == WM_SETCURSOR && waiting_.ShowBusyPointer()) return TRUE;
  if (message != WM_COMMAND) return std::nullopt;
  switch (LOWORD(wParam)) {
    case IDOK:
      OnOk();
      return 0;
    case IDCANCEL:
      Finish(IDCANCEL);
      return 0;
    case kAddUserButton:
      OnAddUser();
      return 0;
    case kDeleteUserButton:
      OnDeleteUser();
      return 0;
    default:
      return std::nullopt;
  }
}

int SettingsDialog::FindAccount(const std::wstring& userName) const {
  // The entry equal byte for byte comes first: the combo's prefix search ignores letter case
  // and would take "alice2" for "alice" or "Bob" for "bob", and the OK that follows would then
  // sign in that other account without a word.
  HWND accounts = Item(kAccountCombo);
  const int count = static_cast<int>(::SendMessageW(accounts, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    if (ComboItemText(accounts, i) == userName) return i;
  }
  return static_cast<int>(
      ::SendMessageW(accounts, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(userName.c_str())));
}

void SettingsDialog::SelectBoth(int index) {
  ::SendMessageW(Item(kAccountCombo), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  ::SendMessageW(Item(kPasswordCombo), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void SettingsDialog::OnInitDialog() {
  CenterWindowOver(hwnd(), ::GetParent(hwnd()));
  const AccountState& state = host_.accounts();
  for (const AccountEntry& entry : state.savedAccounts()) {
    AddComboText(Item(kAccountCombo), entry.userName);
    AddComboText(Item(kPasswordCombo), entry.password);
  }
  const int current = FindAccount(state.currentUserName());
  if (current != CB_ERR) ::SendMessageW(Item(kAccountCombo), CB_SETCURSEL, static_cast<WPARAM>(current), 0);

  for (const wchar_t* text : kSizeTexts) AddComboText(Item(kSizeCombo), text);
  ::SendMessageW(Item(kSizeCombo), CB_SETCURSEL, 0, 0);
  int noScaling = 1;
  for (int i = 0; i < 3; ++i) {
    if (SizeLimit() == kSizeChoices[i]) {
      ::SendMessageW(Item(kSizeCombo), CB_SETCURSEL, static_cast<WPARAM>(i), 0);
      noScaling = 0;
    }
  }
  ::CheckRadioButton(hwnd(), kLimitRadio, kNoScalingRadio, noScaling ? kNoScalingRadio : kLimitRadio);
}

void SettingsDialog::OnAddUser() {
  AccountEntry added;
  if (!addAccount_ || !addAccount_(host_, added)) return;
  const int index = AddComboText(Item(kAccountCombo), added.userName);
  AddComboText(Item(kPasswordCombo), added.password);
  ::SendMessageW(Item(kAccountCombo), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void SettingsDialog::OnDeleteUser() {
  HWND accounts = Item(kAccountCombo);
  HWND passwords = Item(kPasswordCombo);
  const int selected = static_cast<int>(::SendMessageW(accounts, CB_GETCURSEL, 0, 0));
  if (selected == CB_ERR) return;
  const AccountEntry deleted{ComboItemText(accounts, selected), ComboItemText(passwords, selected)};
  AccountState& state = host_.accounts();
  state.RemoveSaved(deleted);
  // A twin entry of the same name is the same account on the service: its history stays.
  if (std::none_of(state.savedAccounts().begin(), state.savedAccounts().end(),
                   [&](const AccountEntry& saved) { return saved.userName == deleted.userName; })) {
    host_.ForgetAccountHistory(deleted.userName);
  }
  ::SendMessageW(accounts, CB_DELETESTRING, static_cast<WPARAM>(selected), 0);
  ::SendMessageW(passwords, CB_DELETESTRING, static_cast<WPARAM>(selected), 0);

  if (deleted.userName != state.currentUserName()) {
    SelectBoth(FindAccount(state.currentUserName()));
  } else {
    SelectBoth(0);
    state.HideQuota();
  }

  if (::SendMessageW(accounts, CB_GETCOUNT, 0, 0) > 0) {
    // The selected entry becomes current, unsigned; with none selected the current one stays.
    const int now = static_cast<int>(::SendMessageW(accounts, CB_GETCURSEL, 0, 0));
    state.Switch(now != CB_ERR ? AccountEntry{ComboItemText(accounts, now), ComboItemText(passwords, now)}
                               : AccountEntry{state.currentUserName(), state.currentPassword()});
  } else {
    state.SignOut();
    host_.SetPhotoSiteLinkTarget(PhotoSiteHomePage());
  }
  // The deleted entry's password leaves the credential store at once, not only at the end.
  KeepPasswords(state, hwnd());
  host_.RefreshAccountDisplay();
}

void SettingsDialog::OnOk() {
  if (signingIn()) return;  // Enter pressed again while the server is asked
  const int selected = static_cast<int>(::SendMessageW(Item(kAccountCombo), CB_GETCURSEL, 0, 0));
  AccountEntry chosen{ComboItemText(Item(kAccountCombo), selected), ComboItemText(Item(kPasswordCombo), selected)};
  if (chosen.userName == host_.accounts().currentUserName()) return ApplySizeAndEnd();

  // Every choice waits with OK, so the size read after the answer is the one chosen now.
  waiting_.Begin(hwnd(),
                 {kAccountCombo, kAddUserButton, kDeleteUserButton, kLimitRadio, kSizeCombo, kNoScalingRadio, IDOK});
  SignInInBackground(
      services_, host_.uiTasks(), chosen,
      answers_.Wrap<SignInAnswer>([this, chosen](const SignInAnswer& answer) { OnSignInAnswer(chosen, answer); }));
}

void SettingsDialog::OnSignInAnswer(const AccountEntry& chosen, const SignInAnswer& answer) {
  waiting_.End();
  if (answer.result == kResultOk) {
    ApplySignedIn(host_, chosen, answer);
  } else {
    ShowPrompt(hwnd(), SignInFailureText(answer.result), kNoticeCaption, MB_OK);
  }
  ApplySizeAndEnd();
}

void SettingsDialog::ApplySizeAndEnd() {
  const bool noScaling = ::IsDlgButtonChecked(hwnd(), kNoScalingRadio) == BST_CHECKED;
  if (noScaling) {
    SetSizeLimit(kNoScalingLimit);
  } else {
    const LRESULT size = ::SendMessageW(Item(kSizeCombo), CB_GETCURSEL, 0, 0);
    if (size >= 0 && size < 3) SetSizeLimit(kSizeChoices[size]);
  }
  Finish(IDOK);
}

void SettingsDialog::Finish(INT_PTR result) {
  // Cancel while the server is asked: the account choice is not applied, its answer dropped.
  answers_.Drop();
  endedWith_ = result;
  ::EndDialog(hwnd(), result);
}

}  // namespace fernwick
