#include "base/work_directories.h"

#include <windows.h>

#include "base/handles.h"

namespace fernwick {

namespace {
std::string UnderWindowsDirectory(const char* name) {
  char windows[MAX_PATH] = {};
  ::GetWindowsDirectoryA(windows, MAX_PATH);
  std::string path = windows;
  path += '\\';
  path += name;
  path += '\\';
  return path;
}

std::string WithoutTrailingBackslash(std::string path) {
  while (path.size() > 1 && path.back() == '\\') path.pop_back();
  return path;
}

// Removes a link (junction or symbolic link) itself, never what it points to. The link is
// opened as a reparse point and deleted through that handle, but only when the handle really
// is the link: a system that opens the target instead (Wine does, and its RemoveDirectoryA
// on a link to an empty directory removes that directory) keeps the link rather than risk
// the target.
void RemoveLink(const std::string& path) {
  UniqueFile link(::CreateFileA(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!link) return;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(link.get(), &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    return;
  }
  FILE_DISPOSITION_INFO disposition{TRUE};
  ::SetFileInformationByHandle(link.get(), FileDispositionInfo, &disposition, sizeof(disposition));
}

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}
}  // namespace

std::string ScaledCopiesDirectory() { return UnderWindowsDirectory("qvpicsendtmp"); }
std::string RotatedCopiesDirectory() { return UnderWindowsDirectory("qvpicsendsnd"); }

void CreateWorkDirectories() {
  ::CreateDirectoryA(ScaledCopiesDirectory().c_str(), nullptr);
  ::CreateDirectoryA(RotatedCopiesDirectory().c_str(), nullptr);
}

void RemoveWorkDirectories() {
  DeleteDirectoryTree(ScaledCopiesDirectory());
  DeleteDirectoryTree(RotatedCopiesDirectory());
}

void DeleteDirectoryTree(const std::string& path) {
  const DWORD self = ::GetFileAttributesA(WithoutTrailingBackslash(path).c_str());
  if (self != INVALID_FILE_ATTRIBUTES && (self & FILE_ATTRIBUTE_REPARSE_POINT)) {
    RemoveLink(WithoutTrailingBackslash(path));
    return;
  }

  std::string directory = path;
  if (directory.empty() || directory.back() != '\\') directory += '\\';
  WIN32_FIND_DATAA entry{};
  UniqueFind search(::FindFirstFileA((directory + "*.*").c_str(), &entry));
  if (search) {
    do {
      const std::string full = directory + entry.cFileName;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        RemoveLink(full);
      } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (!IsDotOrDotDot(entry.cFileName)) DeleteDirectoryTree(full);
      } else {
        ::DeleteFileA(full.c_str());
      }
    } while (::FindNextFileA(search.get(), &entry));
  }
  search.reset();
  ::RemoveDirectoryA(path.c_str());
}

}  // namespace fernwick
