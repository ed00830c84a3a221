#pragma once
// The changes to the main window's account fields that several account operations share.
#include <string>

#include "accounts/account_services.h"
#include "accounts/account_state.h"

namespace fernwick {

// "当前用户:" and the name (the quota line is QuotaText, accounts/core/account_texts.h).
std::wstring CurrentUserText(const std::wstring& userName);

// A successful sign-in of `account`: it becomes current, the two lines show it, the blog name
// is kept, the photo link leads to the home page, and the window shows the new texts.
void ApplySignedIn(AccountHost& host, const AccountEntry& account, const SignInAnswer& answer);

// Nobody is signed in any more: the four fields become empty (the saved list is untouched).
void ClearCurrentAccount(AccountState& state);

// Removes the first saved entry matching both fields, byte for byte; false if none does.
bool RemoveFirstMatchingAccount(AccountState& state, const AccountEntry& entry);

}  // namespace fernwick
