#include "app/work_directories.h"

#include <windows.h>

#include "controls/handles.h"

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

// Removes a link itself: a directory link with RemoveDirectoryA, a file link with DeleteFileA.
// Neither touches the link's target.
void RemoveLink(const std::string& path, DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    ::RemoveDirectoryA(path.c_str());
  } else {
    ::DeleteFileA(path.c_str());
  }
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
    RemoveLink(WithoutTrailingBackslash(path), self);
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
        RemoveLink(full, entry.dwFileAttributes);
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
