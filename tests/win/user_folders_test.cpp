#include "base/user_folders.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "accounts/settings_file.h"
#include "base/work_directories.h"

namespace fernwick {
namespace {

// Sets (or, with nullopt, clears) an environment variable for the scope's lifetime.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const std::optional<std::wstring>& value) : name_(name) {
    wchar_t old[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, old, MAX_PATH);
    if (length > 0 && length < MAX_PATH) old_ = std::wstring(old, length);
    ::SetEnvironmentVariableW(name, value ? value->c_str() : nullptr);
  }
  ~ScopedVariable() { ::SetEnvironmentVariableW(name_, old_ ? old_->c_str() : nullptr); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const wchar_t* name_;
  std::optional<std::wstring> old_;
};

// The profile's folders as the older shell function gives them, independently of the code
// under test.
std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  return SUCCEEDED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : L"";
}

TEST(ProgramFileLocations, SettingsRoamWithTheUserAndWorkDirectoriesStayOnTheMachine) {
  struct Row {
    std::optional<std::wstring> override;
    std::wstring roaming;
    std::wstring local;
  };
  // A profile folder whose name the ANSI code page may not hold is used as it is.
  const Row rows[] = {
      {std::nullopt, ShellFolder(CSIDL_APPDATA) + L"\\Fernwick", ShellFolder(CSIDL_LOCAL_APPDATA) + L"\\Fernwick"},
      {L"Z:/tmp/fernwick-profile", L"Z:\\tmp\\fernwick-profile\\Roaming\\Fernwick",
       L"Z:\\tmp\\fernwick-profile\\Local\\Fernwick"},
      {L"Z:/tmp/프로필 😀", L"Z:\\tmp\\프로필 😀\\Roaming\\Fernwick", L"Z:\\tmp\\프로필 😀\\Local\\Fernwick"},
  };
  for (const Row& row : rows) {
    const ScopedVariable variable(kUserFolderVariable, row.override);
    SCOPED_TRACE(row.override ? "override" : "profile");
    ASSERT_GT(row.roaming.size(), std::wstring(L"\\Fernwick").size());
    EXPECT_NE(row.roaming, row.local);
    EXPECT_EQ(SettingsFilePath(), row.roaming + L"\\qvpicsendst.idx");
    EXPECT_EQ(ScaledCopiesDirectory(), row.local + L"\\qvpicsendtmp\\");
    EXPECT_EQ(RotatedCopiesDirectory(), row.local + L"\\qvpicsendsnd\\");
  }
}

// The program runs with the user's own rights on every Windows from 7 to 11.
TEST(ProgramManifest, AsksForNoElevationAndNamesWindows7To11) {
  HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(found, nullptr);
  const char* bytes = static_cast<const char*>(::LockResource(::LoadResource(nullptr, found)));
  ASSERT_NE(bytes, nullptr);
  const std::string manifest(bytes, ::SizeofResource(nullptr, found));
  for (const char* wanted : {"level=\"asInvoker\"", "uiAccess=\"false\"", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "Microsoft.Windows.Common-Controls"}) {
    EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
  }
}

}  // namespace
}  // namespace fernwick
