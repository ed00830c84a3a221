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
  const std::vector<std::wstring> targets = SavedAccountTargets(state.savedAccounts(), SameCredentialName);
  for (std::size_t i = 0; i < targets.size(); ++i) {
    needed.push_back({targets[i], &state.savedAccounts()[i].userName, &state.savedAccounts()[i].password});
  }
  if (!state.currentUserName().empty()) {
    const std::wstring* first = FirstSavedPassword(state.savedAccounts(), state.currentUserName(), SameCredentialName);
    if (!first || *first != state.currentPassword()) {
      needed.push_back(
          {CurrentAccountTarget(state.currentUserName()), &state.currentUserName(), &state.currentPassword()});
    }
  }
  return needed;
}

bool Unread(const AccountState& state, const std::wstring& target) {
  return std::any_of(state.unreadCredentials().begin(), state.unreadCredentials().end(),
                     [&](const std::wstring& unread) { return SameCredentialName(unread, target); });
}

// The password under `target`, when the store has it; a read that failed (not "not found") is
// remembered so the credential stays as it is.
std::optional<std::wstring> ReadPassword(AccountState& state, const std::wstring& target) {
  std::wstring password;
  const CredentialStore::Found found = ActiveCredentialStore().Read(target, password);
  if (found == CredentialStore::Found::kFailed) state.NoteUnreadCredential(target);
  if (found != CredentialStore::Found::kYes) return std::nullopt;
  return password;
}

}  // namespace

void TakePasswordsFromStore(AccountState& state, std::size_t firstLoaded) {
  const std::vector<std::wstring> targets = SavedAccountTargets(state.savedAccounts(), SameCredentialName);
  for (std::size_t i = firstLoaded; i < targets.size(); ++i) {
    if (!state.savedAccounts()[i].password.empty()) continue;
    if (const std::optional<std::wstring> password = ReadPassword(state, targets[i])) {
      state.FillSavedPassword(i, *password);
    }
  }
  if (state.currentUserName().empty() || !state.currentPassword().empty()) return;
  // The current account has a credential of its own only when its password differs from
  // the first saved entry of its name; one that could not be read leaves it without any.
  const std::wstring current = CurrentAccountTarget(state.currentUserName());
  if (const std::optional<std::wstring> password = ReadPassword(state, current)) {
    return state.FillCurrentPassword(*password);
  }
  if (Unread(state, current)) return;
  if (const std::wstring* first =
          FirstSavedPassword(state.savedAccounts(), state.currentUserName(), SameCredentialName)) {
    state.FillCurrentPassword(*first);
  }
}

bool WritePasswords(const AccountState& state) {
  CredentialStore& store = ActiveCredentialStore();
  bool all = true;
  for (const Credential& credential : NeededCredentials(state)) {
    // An empty password is one the store could not give at start: the one it still holds
    // stays for the next start.
    if (credential.password->empty() || Unread(state, credential.target)) continue;
    all = store.Write(credential.target, *credential.userName, *credential.password) && all;
  }
  return all;
}

void ForgetOtherPasswords(const AccountState& state) {
  if (state.settingsUnreadable()) return;
  CredentialStore& store = ActiveCredentialStore();
  const std::optional<std::vector<std::wstring>> present = store.Targets(kCredentialFilter);
  if (!present) return;
  const std::vector<Credential> needed = NeededCredentials(state);
  for (const std::wstring& target : *present) {
    if (!IsProgramTarget(target) || Unread(state, target)) continue;
    const bool used = std::any_of(needed.begin(), needed.end(),
                                  [&](const Credential& c) { return SameCredentialName(c.target, target); });
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
