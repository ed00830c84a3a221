#include "base/user_folders.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "base/log.h"

namespace fernwick {

namespace {

std::wstring OverrideFolder(UserFolder which) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(kUserFolderVariable, value, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  std::wstring folder(value, length);
  // Set from a Unix shell it may come with forward slashes.
  for (wchar_t& c : folder) {
    if (c == L'/') c = L'\\';
  }
  return folder + (which == UserFolder::kRoaming ? L"\\Roaming" : L"\\Local");
}

}  // namespace

std::wstring KnownFolderPath(UserFolder which) {
  wchar_t* raw = nullptr;
  const HRESULT found = ::SHGetKnownFolderPath(
      which == UserFolder::kRoaming ? FOLDERID_RoamingAppData : FOLDERID_LocalAppData, 0, nullptr, &raw);
  std::wstring path = SUCCEEDED(found) && raw ? raw : L"";
  ::CoTaskMemFree(raw);  // also after a failure, which may still have allocated
  return path;
}

std::wstring ProgramFolder(UserFolder which) {
  std::wstring base = OverrideFolder(which);
  if (base.empty()) base = KnownFolderPath(which);
  if (base.empty()) {
    LogFailure("user folders: the application data folder is not known");
    return std::wstring();
  }
  return base + L"\\Fernwick";
}

std::wstring CreateProgramFolder(UserFolder which) {
  std::wstring folder = ProgramFolder(which);
  if (folder.empty()) return folder;
  const int made = ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS) {
    LogSystemFailure("user folders: the program's folder cannot be created", static_cast<unsigned long>(made));
    return std::wstring();
  }
  return folder;
}

}  // namespace fernwick
