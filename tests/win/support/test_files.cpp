#include "test_files.h"

#include <windows.h>
#include <shellapi.h>

#include "base/handles.h"

namespace fernwick::test {

std::string ReadBytes(const std::string& path) {
  UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return "<missing>";
  std::string bytes(::GetFileSize(file.get(), nullptr), '\0');
  DWORD read = 0;
  ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) return false;
  DWORD written = 0;
  if (bytes.empty()) return true;
  return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string FreshDirectory(const std::string& name) {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  std::string path = std::string(temp) + "fernwick-" + name;
  RemoveDirectoryTree(path);
  ::CreateDirectoryA(path.c_str(), nullptr);
  return path + "\\";
}

void RemoveDirectoryTree(const std::string& path) {
  std::string from = path;
  while (!from.empty() && from.back() == '\\') from.pop_back();
  if (from.empty() || !FileExists(from)) return;
  from.push_back('\0');  // the list of names ends with an empty one
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  ::SHFileOperationA(&operation);
}

}  // namespace fernwick::test
