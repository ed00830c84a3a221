#include "base/work_directories.h"

#include <windows.h>

#include "base/handles.h"
#include "base/log.h"
#include "base/user_folders.h"

namespace fernwick {

namespace {
// Empty when the local application data folder is unavailable: an empty path must never
// reach DeleteDirectoryTree, which would read it as the root of the current drive.
std::string UnderLocalProgramFolder(const char* name) {
  std::string path = ProgramFolder(UserFolder::kLocal);
  if (path.empty()) return path;
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
  if (!link) {
    LogLastError("work directories: a link inside cannot be opened to remove it");
    return;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(link.get(), &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    LogFailure("work directories: a link opens as its target, so it stays");
    return;
  }
  FILE_DISPOSITION_INFO disposition{TRUE};
  if (!::SetFileInformationByHandle(link.get(), FileDispositionInfo, &disposition, sizeof(disposition))) {
    LogLastError("work directories: a link inside cannot be removed");
  }
}

// A directory that is already there (left by a run that crashed) is reused, not a failure.
void CreateWorkDirectory(const std::string& path) {
  if (path.empty()) {
    LogFailure("work directories: no folder for the work directories");
    return;
  }
  if (!::CreateDirectoryA(path.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
    LogLastError("work directories: a work directory cannot be created");
  }
}

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}
}  // namespace

std::string ScaledCopiesDirectory() { return UnderLocalProgramFolder("qvpicsendtmp"); }
std::string RotatedCopiesDirectory() { return UnderLocalProgramFolder("qvpicsendsnd"); }

void CreateWorkDirectories() {
  // The Fernwick folder itself may not be there yet (a first start).
  CreateProgramFolder(UserFolder::kLocal);
  CreateWorkDirectory(ScaledCopiesDirectory());
  CreateWorkDirectory(RotatedCopiesDirectory());
}

void RemoveWorkDirectories() {
  for (const std::string& path : {ScaledCopiesDirectory(), RotatedCopiesDirectory()}) {
    if (!path.empty()) DeleteDirectoryTree(path);
  }
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
  if (!search && ::GetLastError() != ERROR_FILE_NOT_FOUND && ::GetLastError() != ERROR_PATH_NOT_FOUND) {
    LogLastError("work directories: a directory cannot be listed for removal");
  }
  if (search) {
    do {
      const std::string full = directory + entry.cFileName;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        RemoveLink(full);
      } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (!IsDotOrDotDot(entry.cFileName)) DeleteDirectoryTree(full);
      } else {
        // A file in use or read-only stays, and so does its directory.
        if (!::DeleteFileA(full.c_str())) LogLastError("work directories: a file cannot be deleted");
      }
    } while (::FindNextFileA(search.get(), &entry));
  }
  search.reset();
  if (!::RemoveDirectoryA(path.c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND &&
      ::GetLastError() != ERROR_PATH_NOT_FOUND) {
    LogLastError("work directories: a directory cannot be removed");
  }
}

}  // namespace fernwick
