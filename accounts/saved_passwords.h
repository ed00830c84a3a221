#pragma once
// The saved accounts' passwords live in the credential store (accounts/credential_store.h),
// never in the settings file: the file holds the names, the store one password per entry
// under the names of accounts/core/credential_targets.h. The store follows the saved list
// whenever it changes (an account added or deleted, a rejected one forgotten) and at the end.
#include <windows.h>

#include <cstddef>

#include "accounts/account_state.h"
#include "base/core/notice_caption.h"

namespace fernwick {

// Fills the empty passwords of the saved entries from `firstLoaded` on and the current
// account's, from the store. A password the file still held (written by an earlier version)
// is kept as it is; it moves into the store at the next save.
void TakePasswordsFromStore(AccountState& state, std::size_t firstLoaded);

// Writes every password the saved list and the current account need; false when one could
// not be written. Empty passwords (not found at start) are not written over anything.
bool WritePasswords(const AccountState& state);
// Deletes the program's credentials that nothing in `state` needs any more. Nothing is
// deleted when the settings file could not be read: its accounts are unknown then.
void ForgetOtherPasswords(const AccountState& state);
// Deletes every credential of the program, whatever account it was for: the user asked the
// uninstaller to remove the settings, and the passwords with them.
inline void ForgetAllPasswords() { ForgetOtherPasswords(AccountState{}); }
// Tells the user, once per run, that a password could not be kept for the next start.
void TellPasswordsNotKept(HWND owner, const wchar_t* caption = kNoticeCaption);

// The three together, after a change of the saved list during the run; a message goes to
// `owner` with `caption`.
void KeepPasswords(const AccountState& state, HWND owner, const wchar_t* caption = kNoticeCaption);

}  // namespace fernwick
