#include "test_files.h"

#include <windows.h>

#include "base/handles.h"

namespace fernwick::test {

std::string ReadBytes(const std::wstring& path) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return "<missing>";
  std::string bytes(::GetFileSize(file.get(), nullptr), '\0');
  DWORD read = 0;
  ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) return false;
  DWORD written = 0;
  if (bytes.empty()) return true;
  return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring FreshDirectory(const std::wstring& name) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring path = std::wstring(temp) + L"fernwick-" + name;
  RemoveDirectoryTree(path);
  ::CreateDirectoryW(path.c_str(), nullptr);
  return path + L"\\";
}

void RemoveDirectoryTree(const std::wstring& path) {
  std::wstring root = path;
  while (!root.empty() && root.back() == L'\\') root.pop_back();
  // Only a full path: an empty or relative one would name the current directory. The walk is
  // the wide functions' own (the shell's file operation cuts paths longer than MAX_PATH short
  // and may then delete elsewhere).
  if (root.size() < 3 || root[1] != L':' || root[2] != L'\\') return;
  const DWORD attributes = ::GetFileAttributesW(root.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return;  // a link is never followed nor removed here
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ::SetFileAttributesW(root.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(root.c_str());
    return;
  }
  WIN32_FIND_DATAW entry{};
  UniqueFind search(::FindFirstFileW((root + L"\\*").c_str(), &entry));
  if (search) {
    do {
      const std::wstring name = entry.cFileName;
      if (name != L"." && name != L"..") RemoveDirectoryTree(root + L"\\" + name);
    } while (::FindNextFileW(search.get(), &entry));
  }
  search.reset();
  ::SetFileAttributesW(root.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::RemoveDirectoryW(root.c_str());
}

}  // namespace fernwick::test
