#include "file_links.h"

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <cwchar>
#include <functional>
#include <vector>

#include "base/handles.h"

namespace fernwick::test {

namespace {
bool IsReparsePoint(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The mount-point layout of REPARSE_DATA_BUFFER (not in the MinGW headers).
struct MountPointReparseBuffer {
  DWORD tag;
  WORD dataLength;
  WORD reserved;
  WORD substituteOffset;
  WORD substituteLength;
  WORD printOffset;
  WORD printLength;
  WCHAR path[1024];
};

bool MakeJunction(const std::wstring& link, const std::wstring& target) {
  if (!::CreateDirectoryW(link.c_str(), nullptr)) return false;
  UniqueFile directory(::CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  bool made = false;
  if (directory) {
    const std::wstring substitute = L"\\??\\" + target;
    const std::wstring& print = target;
    MountPointReparseBuffer buffer{};
    buffer.tag = IO_REPARSE_TAG_MOUNT_POINT;
    std::memcpy(buffer.path, substitute.c_str(), (substitute.size() + 1) * sizeof(WCHAR));
    std::memcpy(buffer.path + substitute.size() + 1, print.c_str(), (print.size() + 1) * sizeof(WCHAR));
    buffer.substituteLength = static_cast<WORD>(substitute.size() * sizeof(WCHAR));
    buffer.printOffset = static_cast<WORD>((substitute.size() + 1) * sizeof(WCHAR));
    buffer.printLength = static_cast<WORD>(print.size() * sizeof(WCHAR));
    buffer.dataLength = static_cast<WORD>(8 + (substitute.size() + print.size() + 2) * sizeof(WCHAR));
    DWORD returned = 0;
    made = ::DeviceIoControl(directory.get(), FSCTL_SET_REPARSE_POINT, &buffer, buffer.dataLength + 8u, nullptr, 0,
                             &returned, nullptr) != FALSE;
  }
  directory.reset();
  if (!made) ::RemoveDirectoryW(link.c_str());
  return made;
}

// Wine's name of a Windows path on the Unix side; empty outside Wine.
std::string UnixPath(const std::wstring& path) {
  using UnixFileName = char*(CDECL*)(LPCWSTR);
  auto unixName = reinterpret_cast<UnixFileName>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return {};
  char* name = unixName(path.c_str());
  std::string result = name ? name : "";
  ::HeapFree(::GetProcessHeap(), 0, name);
  return result;
}

// Starts a Unix program (Wine starts one given by its Z: path).
bool RunUnixCommand(const std::string& commandLine) {
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  STARTUPINFOA startup{sizeof(startup)};
  PROCESS_INFORMATION info{};
  if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return false;
  }
  // Wine gives no waitable handle for a Unix process; callers watch for its effect.
  if (info.hThread) ::CloseHandle(info.hThread);
  if (info.hProcess) ::CloseHandle(info.hProcess);
  return true;
}

// The file system shows when a Unix command has taken effect (bounded, for one that failed).
bool WaitUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 500; ++i) {
    if (done()) return true;
    ::Sleep(10);
  }
  return done();
}

bool MakeUnixSymlink(const std::wstring& link, const std::wstring& target) {
  const std::string unixTarget = UnixPath(target);
  const std::string unixLink = UnixPath(link);
  if (unixTarget.empty() || unixLink.empty()) return false;
  return RunUnixCommand("Z:\\bin\\ln -s \"" + unixTarget + "\" \"" + unixLink + "\"") &&
         WaitUntil([&] { return IsReparsePoint(link); });
}
}  // namespace

bool MakeDirectoryLink(const std::wstring& link, const std::wstring& target) {
  constexpr DWORD kUnprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
  if (::CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY | kUnprivileged) &&
      IsReparsePoint(link)) {
    return true;
  }
  if (MakeJunction(link, target) && IsReparsePoint(link)) return true;
  return MakeUnixSymlink(link, target) && IsReparsePoint(link);
}

void RemoveDirectoryLink(const std::wstring& link) {
  if (!IsReparsePoint(link)) return;
  // Under Wine RemoveDirectoryW on a link removes an empty target instead; /bin/rm removes
  // the link only.
  const std::string unixLink = UnixPath(link);
  if (!unixLink.empty()) {
    RunUnixCommand("Z:\\bin\\rm -f \"" + unixLink + "\"");
    WaitUntil([&] { return !FileExists(link); });
    return;
  }
  ::RemoveDirectoryW(link.c_str());
}

}  // namespace fernwick::test
