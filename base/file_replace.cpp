#include "base/file_replace.h"

#include <windows.h>

#include "base/handles.h"

namespace fernwick {

namespace {

bool WriteAndFlush(const std::wstring& path, std::string_view bytes) {
  UniqueFile file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  if (!bytes.empty() && (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
                         written != bytes.size())) {
    return false;
  }
  return ::FlushFileBuffers(file.get()) != 0;
}

// The reason of the step that failed survives the clean-up.
void RemoveKeepingError(const std::wstring& path) {
  const DWORD error = ::GetLastError();
  ::DeleteFileW(path.c_str());
  ::SetLastError(error);
}

}  // namespace

bool ReplaceFileContents(const std::wstring& path, std::string_view bytes, LogText notWritten, LogText notRenamed) {
  const std::wstring temporary = path + L".new";
  if (!WriteAndFlush(temporary, bytes)) {
    RemoveKeepingError(temporary);
    LogLastError(notWritten);
    return false;
  }
  if (!::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    RemoveKeepingError(temporary);
    LogLastError(notRenamed);
    return false;
  }
  return true;
}

}  // namespace fernwick
