#pragma once
// The names under which the saved accounts' passwords are kept in the system's credential
// store. Portable.
//
// The k-th saved entry (in list order) with user name N is kept under "Fernwick:N" for k = 1
// and "Fernwick#k:N" for k >= 2, so two entries with one name and different passwords each
// keep theirs. The number sits before the first colon: a user name may itself hold '#' or ':',
// and "Fernwick:a#2" (the first "a#2") can then never be mistaken for the second "a". The
// current account's password has a name of its own, "Fernwick (current):N", used only when it
// differs from the password of the first saved entry named N.
//
// The store compares names without regard to case: "Fernwick:Alice" and "Fernwick:alice" are one
// credential. So names are matched and counted the same way, through the store's own comparison
// given by the caller, and "alice" after "Alice" is kept under "Fernwick#2:alice".
#include <string>
#include <string_view>
#include <vector>

#include "accounts/core/account_entry.h"

namespace fernwick {

// Enumerating with this filter finds every name below, and possibly others' names too.
inline constexpr wchar_t kCredentialFilter[] = L"Fernwick*";

// Whether the store takes two names for one (on Windows CompareStringOrdinal ignoring case).
using SameStoreName = bool (*)(std::wstring_view, std::wstring_view);

// One name per entry of `saved`, in the same order.
std::vector<std::wstring> SavedAccountTargets(const std::vector<AccountEntry>& saved, SameStoreName same);
std::wstring CurrentAccountTarget(const std::wstring& userName);

// Whether `target` has one of the forms above; names of other programs that merely begin with
// "Fernwick" are not.
bool IsProgramTarget(const std::wstring& target);

// The password the first saved entry named `userName` has (the one under "Fernwick:N"); none
// when no entry has that name.
const std::wstring* FirstSavedPassword(const std::vector<AccountEntry>& saved, const std::wstring& userName,
                                       SameStoreName same);

}  // namespace fernwick
