#include "base/user_folders.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "base/log.h"

namespace fernwick {

namespace {

std::string OverrideFolder(UserFolder which) {
  char value[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableA(kUserFolderVariable, value, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  std::string folder(value, length);
  // Set from a Unix shell it may come with forward slashes.
  for (char& c : folder) {
    if (c == '/') c = '\\';
  }
  return folder + (which == UserFolder::kRoaming ? "\\Roaming" : "\\Local");
}

// The known folder exists only as a wide path. A path the ANSI code page cannot hold (a user
// name outside it, say) would reach the A functions with '?' in it and name another file, so
// such a folder counts as missing.
std::string KnownFolder(UserFolder which) {
  const std::wstring wide = KnownFolderPath(which);
  if (wide.empty()) {
    LogFailure("user folders: the application data folder is not known");
    return std::string();
  }
  BOOL lossy = FALSE;
  const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, nullptr, &lossy);
  if (length <= 1 || lossy) {
    LogFailure("user folders: the application data folder's path does not fit the ANSI code page");
    return std::string();
  }
  std::string narrow(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, narrow.data(), length, nullptr, nullptr);
  narrow.resize(static_cast<std::size_t>(length - 1));
  return narrow;
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

std::string ProgramFolder(UserFolder which) {
  std::string base = OverrideFolder(which);
  if (base.empty()) base = KnownFolder(which);
  if (base.empty()) return std::string();
  return base + "\\Fernwick";
}

std::string CreateProgramFolder(UserFolder which) {
  std::string folder = ProgramFolder(which);
  if (folder.empty()) return folder;
  const int made = ::SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
  if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS) {
    LogSystemFailure("user folders: the program's folder cannot be created", static_cast<unsigned long>(made));
    return std::string();
  }
  return folder;
}

}  // namespace fernwick
