#include "accounts/saved_passwords.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "accounts/core/account_texts.h"
#include "accounts/core/credential_targets.h"
#include "accounts/credential_store.h"
#include "base/prompt.h"

namespace fernwick {

namespace {

struct Credential {
  std::wstring target;
  const std::wstring* userName;
  const std::wstring* password;
};

// Every name `state` uses, with what goes under it.
std::vector<Credential> NeededCredentials(const AccountState& state) {
  std::vector<Credential> needed;
  const std::vector<std::wstring> targets = SavedAccountTargets(state.savedAccounts);
  for (std::size_t i = 0; i < targets.size(); ++i) {
    needed.push_back({targets[i], &state.savedAccounts[i].userName, &state.savedAccounts[i].password});
  }
  if (!state.currentUserName.empty()) {
    const std::wstring* first = FirstSavedPassword(state.savedAccounts, state.currentUserName);
    if (!first || *first != state.currentPassword) {
      needed.push_back({CurrentAccountTarget(state.currentUserName), &state.currentUserName, &state.currentPassword});
    }
  }
  return needed;
}

}  // namespace

void TakePasswordsFromStore(AccountState& state, std::size_t firstLoaded) {
  CredentialStore& store = ActiveCredentialStore();
  const std::vector<std::wstring> targets = SavedAccountTargets(state.savedAccounts);
  for (std::size_t i = firstLoaded; i < targets.size(); ++i) {
    if (state.savedAccounts[i].password.empty()) store.Read(targets[i], state.savedAccounts[i].password);
  }
  if (state.currentUserName.empty() || !state.currentPassword.empty()) return;
  // The current account has a credential of its own only when its password differs from
  // the first saved entry of its name.
  if (store.Read(CurrentAccountTarget(state.currentUserName), state.currentPassword) == CredentialStore::Found::kYes) {
    return;
  }
  if (const std::wstring* first = FirstSavedPassword(state.savedAccounts, state.currentUserName)) {
    state.currentPassword = *first;
  }
}

bool WritePasswords(const AccountState& state) {
  CredentialStore& store = ActiveCredentialStore();
  bool all = true;
  for (const Credential& credential : NeededCredentials(state)) {
    // An empty password is one the store could not give at start: the one it still holds
    // stays for the next start.
    if (credential.password->empty()) continue;
    all = store.Write(credential.target, *credential.userName, *credential.password) && all;
  }
  return all;
}

void ForgetOtherPasswords(const AccountState& state) {
  if (state.settingsUnreadable) return;
  CredentialStore& store = ActiveCredentialStore();
  const std::optional<std::vector<std::wstring>> present = store.Targets(kCredentialFilter);
  if (!present) return;
  const std::vector<Credential> needed = NeededCredentials(state);
  for (const std::wstring& target : *present) {
    if (!IsProgramTarget(target)) continue;
    const bool used =
        std::any_of(needed.begin(), needed.end(), [&](const Credential& c) { return c.target == target; });
    if (!used) store.Delete(target);
  }
}

void TellPasswordsNotKept(HWND owner, const wchar_t* caption) {
  if (ActiveCredentialStore().FirstFailure()) ShowPrompt(owner, kPasswordNotKeptText, caption, MB_OK);
}

void KeepPasswords(const AccountState& state, HWND owner, const wchar_t* caption) {
  const bool written = WritePasswords(state);
  ForgetOtherPasswords(state);
  if (!written) TellPasswordsNotKept(owner, caption);
}

}  // namespace fernwick
