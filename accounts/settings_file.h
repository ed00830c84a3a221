#pragma once
// The settings file "qvpicsendst.idx" in %APPDATA%\Fernwick: the current account, the size
// limit and the saved accounts, read once at start and written once at the end. The file
// holds the user names; the passwords are read from and written to the credential store
// (accounts/saved_passwords.h) on the way, and the file's password fields are written empty.
#include <string>

#include "accounts/account_state.h"

namespace fernwick {

// "%s\qvpicsendst.idx" with the roaming program folder (base/user_folders.h) for %s; empty
// when that folder is unavailable.
std::wstring SettingsFilePath();
// Where earlier versions kept it: the same name in the Windows directory.
std::wstring OldSettingsFilePath();

// Sets the current account and the program's size limit, and appends the saved accounts.
// A missing or unreadable file gives a signed-out user and the size limit 1024. While the
// user's file does not exist yet, the old one in the Windows directory is read instead.
void LoadSettings(AccountState& state);
// Writes the current account, the size limit and the saved accounts to the user's file
// (creating its folder). The old file is replaced only by a completely written new one;
// failures are silent. Nothing is written when the file could not be read at start.
void SaveSettings(const AccountState& state);

// The same at a given path. LoadSettingsFrom marks the state settingsUnreadable() when the file is
// there but cannot be read; SaveSettingsTo then writes nothing. SaveSettingsTo reports
// whether the file now holds the new content.
void LoadSettingsFrom(const std::wstring& path, AccountState& state);
bool SaveSettingsTo(const std::wstring& path, const AccountState& state);

}  // namespace fernwick
