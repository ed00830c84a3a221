// Checks of an installation made by the installer, run by scripts/lib/installer-check.sh in a
// fresh Wine prefix between its steps; each step's checks are one suite, picked with
// --gtest_filter. The program's own folders are the profile's (no FERNWICK_USER_DIR).
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accounts/core/credential_targets.h"
#include "accounts/credential_store.h"
#include "accounts/settings_file.h"
#include "app/single_instance.h"
#include "base/browser_integration.h"
#include "base/handles.h"
#include "base/platform_guards.h"
#include "support/program_runner.h"

namespace fernwick {
namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Fernwick";
const AccountEntry kPlantedAccount{L"installer-check", L"secret"};

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  wchar_t* path = nullptr;
  std::wstring result;
  if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
  ::CoTaskMemFree(path);
  return result;
}
std::wstring InstallFolder() { return KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Fernwick"; }
std::wstring Shortcut() { return KnownFolder(FOLDERID_Programs) + L"\\Fernwick.lnk"; }
std::wstring SendToEntry() { return KnownFolder(FOLDERID_SendTo) + L"\\Fernwick.lnk"; }
constexpr wchar_t kUploadVerbKey[] = L"Software\\Classes\\SystemFileAssociations\\image\\shell\\Fernwick";
bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool UserKeyExists(const wchar_t* key) {
  UniqueHKey opened;
  return ::RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
}
std::wstring UserText(const std::wstring& key, const wchar_t* name) {
  wchar_t text[1024] = {};
  DWORD size = sizeof(text);
  if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) {
    return L"<missing>";
  }
  return text;
}
std::wstring UninstallText(const wchar_t* name) { return UserText(kUninstallKey, name); }
DWORD UninstallNumber(const wchar_t* name) {
  DWORD number = 0;
  DWORD size = sizeof(number);
  if (::RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_DWORD, nullptr, &number, &size) !=
      ERROR_SUCCESS) {
    return 0xFFFFFFFF;
  }
  return number;
}

// Runs `commandLine` and returns its exit code; 1234 when it did not start or end in time.
DWORD RunAndWait(std::wstring commandLine) {
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return 1234;
  }
  UniqueHandle process(info.hProcess);
  UniqueHandle thread(info.hThread);
  DWORD exitCode = 1234;
  if (::WaitForSingleObject(process.get(), 60000) == WAIT_OBJECT_0) ::GetExitCodeProcess(process.get(), &exitCode);
  return exitCode;
}

bool SettingsHoldThePlantedAccount() {
  AccountState state;
  LoadSettings(state);
  for (const AccountEntry& entry : state.savedAccounts()) {
    if (entry == kPlantedAccount) return true;
  }
  return false;
}

// The earlier release's installer is made from the same files under the number 0.9.0.
TEST(EarlierInstalled, IsListedWithItsOwnVersionAndGetsASavedAccount) {
  EXPECT_EQ(UninstallText(L"DisplayVersion"), L"0.9.0");
  AccountState planted;
  planted.Load({}, {kPlantedAccount}, false);
  SaveSettings(planted);
  EXPECT_TRUE(SettingsHoldThePlantedAccount());
}

// This release installed over the earlier one: the entry shows the new number, and the saved
// account (the name in the settings file, its password in the credential store) is still there.
TEST(Updated, ShowsTheNewVersionAndKeepsTheSavedAccount) {
  EXPECT_EQ(UninstallText(L"DisplayVersion"), FERNWICK_EXPECTED_VERSION);
  EXPECT_TRUE(Exists(InstallFolder() + L"\\fernwick.exe"));
  EXPECT_TRUE(SettingsHoldThePlantedAccount());
}

TEST(Installed, PutsTheProgramAndAStartMenuShortcutInTheUsersFolders) {
  for (const wchar_t* file : {L"fernwick.exe", L"logo.gif", L"README-Windows.txt", L"uninstall.exe"}) {
    EXPECT_TRUE(Exists(InstallFolder() + L"\\" + file)) << InstallFolder() << L"\\" << file;
  }
  EXPECT_TRUE(Exists(Shortcut()));
  EXPECT_TRUE(Exists(SendToEntry()));
}

TEST(Installed, OffersTheUploadVerbOnEveryPictureForThisUser) {
  const std::wstring verb = kUploadVerbKey;
  EXPECT_EQ(UserText(verb, nullptr), L"用 Fernwick 上传");
  EXPECT_EQ(UserText(verb, L"MultiSelectModel"), L"Player");
  EXPECT_EQ(UserText(verb + L"\\command", nullptr), L"\"" + InstallFolder() + L"\\fernwick.exe\" \"%1\"");
}

TEST(Installed, IsListedUnderAppsAndFeaturesForThisUser) {
  const std::wstring folder = InstallFolder();
  const struct {
    const wchar_t* name;
    std::wstring expected;
  } texts[] = {
      {L"DisplayName", L"Fernwick"},
      {L"DisplayVersion", FERNWICK_EXPECTED_VERSION},
      {L"Publisher", L"Fernwick"},
      {L"DisplayIcon", folder + L"\\fernwick.exe,0"},
      {L"InstallLocation", folder},
      {L"UninstallString", L"\"" + folder + L"\\uninstall.exe\""},
      {L"QuietUninstallString", L"\"" + folder + L"\\uninstall.exe\" /S"},
  };
  for (const auto& t : texts) EXPECT_EQ(UninstallText(t.name), t.expected) << t.name;
  EXPECT_EQ(UninstallNumber(L"NoModify"), 1u);
  EXPECT_EQ(UninstallNumber(L"NoRepair"), 1u);
  // Kilobytes: the program alone is larger than a megabyte.
  const DWORD size = UninstallNumber(L"EstimatedSize");
  EXPECT_GT(size, 1000u);
  EXPECT_LT(size, 200000u);
}

TEST(Installed, TheProgramRunsWhileSetupAndUninstallRefuseAndKeepsTheSettings) {
  AccountState planted;
  planted.Load({}, {kPlantedAccount}, false);
  SaveSettings(planted);
  ASSERT_TRUE(SettingsHoldThePlantedAccount());

  test::ProgramRun program(InstallFolder() + L"\\fernwick.exe");
  ASSERT_TRUE(program.Start());
  const HWND window = program.WaitForWindow(kMainWindowCaption);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(UserKeyExists(kFeedMenuKey));
  EXPECT_TRUE(UserKeyExists(kBookmarkMenuKey));

  // Run in place (_?=) so that the wait is for the uninstaller itself; 2 is an abort.
  const std::wstring folder = InstallFolder();
  EXPECT_EQ(RunAndWait(L"\"" + folder + L"\\uninstall.exe\" /S _?=" + folder), 2u);
  EXPECT_EQ(RunAndWait(L"\"" FERNWICK_SETUP L"\" /S"), 2u);
  EXPECT_TRUE(Exists(folder + L"\\fernwick.exe"));
  EXPECT_TRUE(UserKeyExists(kUninstallKey));

  ::PostMessageW(window, WM_CLOSE, 0, 0);
  DWORD exitCode = 1234;
  ASSERT_TRUE(program.WaitForExit(exitCode));
  EXPECT_EQ(exitCode, 1u);
  EXPECT_TRUE(SettingsHoldThePlantedAccount());
}

TEST(Reinstalled, KeepsTheSavedAccount) {
  EXPECT_TRUE(Exists(InstallFolder() + L"\\fernwick.exe"));
  EXPECT_TRUE(SettingsHoldThePlantedAccount());
}

// What a silent uninstall removes, with or without the settings.
void ExpectNothingOfTheProgramLeft() {
  EXPECT_FALSE(Exists(InstallFolder())) << InstallFolder();
  EXPECT_FALSE(Exists(Shortcut()));
  EXPECT_FALSE(Exists(SendToEntry()));
  EXPECT_FALSE(UserKeyExists(kUploadVerbKey));
  EXPECT_FALSE(UserKeyExists(kUninstallKey));
  EXPECT_FALSE(UserKeyExists(kFeedMenuKey));
  EXPECT_FALSE(UserKeyExists(kBookmarkMenuKey));
}

TEST(Uninstalled, LeavesNothingButTheSettings) {
  ExpectNothingOfTheProgramLeft();
  EXPECT_TRUE(SettingsHoldThePlantedAccount());
}

// Passwords under every form of the program's names, and one of another program's whose name
// merely begins the same way, which the uninstaller must leave alone.
constexpr const wchar_t* kProgramTargets[] = {L"Fernwick:installer-check", L"Fernwick#2:installer-check",
                                              L"Fernwick (current):installer-check"};
constexpr wchar_t kForeignTarget[] = L"FernwickOther:someone";

// What the program leaves in the profile besides the settings: the log it turned over, the
// journal of a batch that did not end, the new files of its safe replacement.
std::vector<std::wstring> Leftovers() {
  const std::wstring local = KnownFolder(FOLDERID_LocalAppData) + L"\\Fernwick\\";
  return {local + L"fernwick.log.1", local + L"batch.journal", local + L"batch.journal.new",
          KnownFolder(FOLDERID_RoamingAppData) + L"\\Fernwick\\qvpicsendst.idx.new"};
}

bool WriteSomething(const std::wstring& path) {
  UniqueFile file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && ::WriteFile(file.get(), "x", 1, &written, nullptr);
}

TEST(PasswordsPlanted, UnderEveryFormOfTheProgramsNames) {
  ::CreateDirectoryW((KnownFolder(FOLDERID_LocalAppData) + L"\\Fernwick").c_str(), nullptr);
  for (const std::wstring& leftover : Leftovers()) EXPECT_TRUE(WriteSomething(leftover)) << leftover;
  CredentialStore& store = ActiveCredentialStore();
  for (const wchar_t* target : kProgramTargets) EXPECT_TRUE(store.Write(target, L"installer-check", L"secret"));
  EXPECT_TRUE(store.Write(kForeignTarget, L"someone", L"other"));
  std::wstring password;
  EXPECT_EQ(store.Read(kProgramTargets[2], password), CredentialStore::Found::kYes);
}

TEST(UninstalledWithSettings, LeavesNothingAndNoPasswordOfTheProgram) {
  ExpectNothingOfTheProgramLeft();
  EXPECT_FALSE(Exists(KnownFolder(FOLDERID_RoamingAppData) + L"\\Fernwick"));
  EXPECT_FALSE(Exists(KnownFolder(FOLDERID_LocalAppData) + L"\\Fernwick"));
  CredentialStore& store = ActiveCredentialStore();
  const auto present = store.Targets(kCredentialFilter);
  ASSERT_TRUE(present.has_value());
  for (const std::wstring& target : *present) EXPECT_FALSE(IsProgramTarget(target)) << target;
  std::wstring password;
  EXPECT_EQ(store.Read(kForeignTarget, password), CredentialStore::Found::kYes) << "another program's";
  EXPECT_EQ(password, L"other");
  store.Delete(kForeignTarget);
}

// A folder of the user's that already holds files, one of them named like a licence of ours in
// a "licences" folder, another like the read-me: the installation goes in and out beside them.
constexpr wchar_t kUsersFolder[] = L"C:\\Tools";
constexpr const wchar_t* kUsersFiles[] = {L"C:\\Tools\\notes.txt", L"C:\\Tools\\licences\\LICENSE.md",
                                          L"C:\\Tools\\licences\\libjpeg-turbo\\other.txt",
                                          L"C:\\Tools\\old\\README-Windows.txt"};

TEST(ForeignFolderPrepared, HoldsTheUsersOwnFiles) {
  for (const wchar_t* folder :
       {L"C:\\Tools", L"C:\\Tools\\licences", L"C:\\Tools\\licences\\libjpeg-turbo", L"C:\\Tools\\old"}) {
    ::CreateDirectoryW(folder, nullptr);
  }
  for (const wchar_t* file : kUsersFiles) EXPECT_TRUE(WriteSomething(file)) << file;
}

TEST(ForeignFolderInstalled, HoldsTheProgramAndACopiedUninstallerRefusesAFolderWithoutIt) {
  ASSERT_TRUE(Exists(std::wstring(kUsersFolder) + L"\\fernwick.exe"));
  // A copy of the uninstaller acts on its own folder, which does not hold the program.
  const std::wstring copied = std::wstring(kUsersFolder) + L"\\old";
  ASSERT_TRUE(::CopyFileW((std::wstring(kUsersFolder) + L"\\uninstall.exe").c_str(),
                          (copied + L"\\uninstall.exe").c_str(), FALSE));
  EXPECT_EQ(RunAndWait(L"\"" + copied + L"\\uninstall.exe\" /S _?=" + copied), 2u);
  EXPECT_TRUE(Exists(copied + L"\\README-Windows.txt"));
  ::DeleteFileW((copied + L"\\uninstall.exe").c_str());
}

TEST(ForeignFolderUninstalled, LeavesEveryFileOfTheUsersAndNoneOfOurs) {
  for (const wchar_t* file : kUsersFiles) EXPECT_TRUE(Exists(file)) << file;
  for (const wchar_t* ours : {L"fernwick.exe", L"logo.gif", L"README-Windows.txt", L"uninstall.exe",
                              L"licences\\libjpeg-turbo\\LICENSE.md"}) {
    EXPECT_FALSE(Exists(std::wstring(kUsersFolder) + L"\\" + ours)) << ours;
  }
  EXPECT_FALSE(UserKeyExists(kUninstallKey));
}

}  // namespace
}  // namespace fernwick

// Each step of the installer check is a run of this program in a prefix of its own, and a
// later step checks what an earlier one left, the planted account's password in the credential
// store included: unlike the other test programs' main, this one leaves the store alone.
int main(int argc, char** argv) {
  const fernwick::ComGuard com;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
