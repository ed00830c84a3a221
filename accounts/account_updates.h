#pragma once
// A successful sign-in, as every account operation that makes one shows it on the main window.
#include "accounts/account_services.h"
#include "accounts/account_state.h"

namespace fernwick {

// `account` signed in: it becomes current with its quota and blog name (AccountState::SignedIn),
// the photo link leads to the home page, and the window shows the new texts.
void ApplySignedIn(AccountHost& host, const AccountEntry& account, const SignInAnswer& answer);

}  // namespace fernwick
