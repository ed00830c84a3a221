#include "base/work_directories.h"

#include <windows.h>

#include "base/handles.h"
#include "base/log.h"
#include "base/user_folders.h"

namespace fernwick {

namespace {
// Empty when the local application data folder is unavailable: an empty path must never
// reach DeleteDirectoryTree, which would read it as the root of the current drive.
std::wstring UnderLocalProgramFolder(const wchar_t* name) {
  std::wstring path = ProgramFolder(UserFolder::kLocal);
  if (path.empty()) return path;
  path += L'\\';
  path += name;
  path += L'\\';
  return path;
}

std::wstring WithoutTrailingBackslash(std::wstring path) {
  while (path.size() > 1 && path.back() == L'\\') path.pop_back();
  return path;
}

// Removes a link (junction or symbolic link) itself, never what it points to. The link is
// opened as a reparse point and deleted through that handle, but only when the handle really
// is the link: a system that opens the target instead (Wine does, and its RemoveDirectoryW
// on a link to an empty directory removes that directory) keeps the link rather than risk
// the target.
void RemoveLink(const std::wstring& path) {
  UniqueFile link(::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
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
void CreateWorkDirectory(const std::wstring& path) {
  if (path.empty()) {
    LogFailure("work directories: no folder for the work directories");
    return;
  }
  if (!::CreateDirectoryW(path.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
    LogLastError("work directories: a work directory cannot be created");
  }
}

bool IsDotOrDotDot(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}
}  // namespace

std::wstring ScaledCopiesDirectory() { return UnderLocalProgramFolder(L"qvpicsendtmp"); }
std::wstring RotatedCopiesDirectory() { return UnderLocalProgramFolder(L"qvpicsendsnd"); }

void CreateWorkDirectories() {
  // The Fernwick folder itself may not be there yet (a first start).
  CreateProgramFolder(UserFolder::kLocal);
  CreateWorkDirectory(ScaledCopiesDirectory());
  CreateWorkDirectory(RotatedCopiesDirectory());
}

void RemoveWorkDirectories() {
  for (const std::wstring& path : {ScaledCopiesDirectory(), RotatedCopiesDirectory()}) {
    if (!path.empty()) DeleteDirectoryTree(path);
  }
}

void DeleteDirectoryTree(const std::wstring& path) {
  const DWORD self = ::GetFileAttributesW(WithoutTrailingBackslash(path).c_str());
  if (self != INVALID_FILE_ATTRIBUTES && (self & FILE_ATTRIBUTE_REPARSE_POINT)) {
    RemoveLink(WithoutTrailingBackslash(path));
    return;
  }

  std::wstring directory = path;
  if (directory.empty() || directory.back() != L'\\') directory += L'\\';
  WIN32_FIND_DATAW entry{};
  UniqueFind search(::FindFirstFileW((directory + L"*.*").c_str(), &entry));
  if (!search && ::GetLastError() != ERROR_FILE_NOT_FOUND && ::GetLastError() != ERROR_PATH_NOT_FOUND) {
    LogLastError("work directories: a directory cannot be listed for removal");
  }
  if (search) {
    do {
      const std::wstring full = directory + entry.cFileName;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        RemoveLink(full);
      } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (!IsDotOrDotDot(entry.cFileName)) DeleteDirectoryTree(full);
      } else {
        // A file in use or read-only stays, and so does its directory.
        if (!::DeleteFileW(full.c_str())) LogLastError("work directories: a file cannot be deleted");
      }
    } while (::FindNextFileW(search.get(), &entry));
  }
  search.reset();
  if (!::RemoveDirectoryW(path.c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND &&
      ::GetLastError() != ERROR_PATH_NOT_FOUND) {
    LogLastError("work directories: a directory cannot be removed");
  }
}

}  // namespace fernwick
