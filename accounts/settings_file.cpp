#include "accounts/settings_file.h"

#include <windows.h>

#include <string>
#include <vector>

#include "accounts/core/settings_text.h"
#include "accounts/saved_passwords.h"
#include "base/file_replace.h"
#include "base/program_state.h"
#include "base/handles.h"
#include "base/log.h"
#include "base/text_936.h"
#include "base/user_folders.h"

namespace fernwick {

namespace {

constexpr wchar_t kSettingsFileName[] = L"\\qvpicsendst.idx";

bool IsNotThere(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

bool NothingAt(const std::wstring& path) {
  return path.empty() || (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && IsNotThere(::GetLastError()));
}

enum class FileRead { kRead, kMissing, kUnreadable };

FileRead ReadWholeFile(const std::wstring& path, std::string& bytes) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    if (IsNotThere(::GetLastError())) return FileRead::kMissing;
    LogLastError("settings file: it is there but cannot be opened, so it will not be written");
    return FileRead::kUnreadable;
  }
  LARGE_INTEGER size{};
  // A settings file is a few hundred bytes; anything near a gigabyte is not ours.
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 || size.QuadPart > (1 << 30)) {
    LogFailure("settings file: its size cannot be taken or is absurd, so it will not be written");
    return FileRead::kUnreadable;
  }
  bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() && !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
    LogLastError("settings file: it cannot be read, so it will not be written");
    return FileRead::kUnreadable;
  }
  bytes.resize(read);
  return FileRead::kRead;
}

}  // namespace

std::wstring SettingsFilePath() {
  const std::wstring folder = ProgramFolder(UserFolder::kRoaming);
  return folder.empty() ? folder : folder + kSettingsFileName;
}

std::wstring OldSettingsFilePath() {
  wchar_t directory[MAX_PATH] = {};
  const UINT length = ::GetWindowsDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  return std::wstring(directory, length) + kSettingsFileName;
}

void LoadSettingsFrom(const std::wstring& path, AccountState& state) {
  std::string stored;
  const FileRead read = path.empty() ? FileRead::kMissing : ReadWholeFile(path, stored);
  if (read != FileRead::kRead) {
    state.Load(AccountEntry{}, {}, read == FileRead::kUnreadable);
    SetSizeLimit(kDefaultSizeLimit);
    return;
  }
  const SettingsContent content = ParseSettingsText(DecipherSettingsText(stored));
  SetSizeLimit(content.sizeLimit);
  std::vector<AccountEntry> saved;
  for (const StoredAccount& entry : content.savedAccounts) {
    saved.push_back(AccountEntry{WideFrom936(entry.userName), WideFrom936(entry.password)});
  }
  const std::size_t firstLoaded = state.savedAccounts().size();
  state.Load(AccountEntry{WideFrom936(content.currentUserName), WideFrom936(content.currentPassword)}, saved, false);
  TakePasswordsFromStore(state, firstLoaded);
}

bool SaveSettingsTo(const std::wstring& path, const AccountState& state) {
  if (path.empty()) return false;
  if (state.settingsUnreadable()) {
    LogFailure("settings file: not written, it could not be read at start");
    return false;
  }
  // A read-only settings file cannot be opened for writing, so it stays as the user made it
  // (replacing it by renaming would otherwise get around that on some systems).
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    LogFailure("settings file: read-only or a folder, not written");
    return false;
  }
  // The passwords go to the credential store before the file that names their accounts, and
  // never into the file: anyone who can read the file could undo its cipher. A store that
  // refuses them leaves the accounts without passwords at the next start.
  if (!WritePasswords(state)) TellPasswordsNotKept(nullptr);
  SettingsContent content;
  // The login dialog lets in only names that code page 936 holds exactly, so these come back
  // as they went.
  content.currentUserName = To936Lossy(state.currentUserName());
  content.sizeLimit = SizeLimit();
  for (const AccountEntry& entry : state.savedAccounts()) {
    content.savedAccounts.push_back(StoredAccount{To936Lossy(entry.userName), std::string()});
  }
  const std::string stored = EncipherSettingsText(BuildSettingsText(content));

  // The old file goes only when the new one is complete beside it: a full disk or a crash
  // mid-write must not cost the user the saved accounts.
  if (!ReplaceFileContents(path, stored, "settings file: the new file cannot be written",
                           "settings file: the new file cannot replace the old one")) {
    return false;
  }
  // Only now does no file on disk name the accounts that are gone.
  ForgetOtherPasswords(state);
  return true;
}

void LoadSettings(AccountState& state) {
  const std::wstring path = SettingsFilePath();
  const std::wstring old = OldSettingsFilePath();
  // Until the first save after an upgrade the accounts are still in the Windows directory.
  // That file is only ever read: the save goes to the user's own file.
  LoadSettingsFrom(NothingAt(path) && !NothingAt(old) ? old : path, state);
}

void SaveSettings(const AccountState& state) {
  if (CreateProgramFolder(UserFolder::kRoaming).empty()) return;
  SaveSettingsTo(SettingsFilePath(), state);
}

}  // namespace fernwick
