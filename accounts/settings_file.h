#pragma once
// The settings file "qvpicsendst.idx" in the Windows directory: the current account, the
// size limit and the saved accounts, read once at start and written once at the end.
#include <string>

#include "accounts/account_state.h"

namespace fernwick {

// "%s\qvpicsendst.idx" with the Windows directory for %s.
std::string SettingsFilePath();

// Sets the current account and the program's size limit, and appends the saved accounts.
// A missing or unreadable file gives a signed-out user and the size limit 1024.
void LoadSettings(AccountState& state);
// Writes the current account, the size limit and the saved accounts. The old file is
// replaced only by a completely written new one; failures are silent.
void SaveSettings(const AccountState& state);

// The same at a given path (the two above use SettingsFilePath()). SaveSettingsTo reports
// whether the file now holds the new content.
void LoadSettingsFrom(const std::string& path, AccountState& state);
bool SaveSettingsTo(const std::string& path, const AccountState& state);

}  // namespace fernwick
