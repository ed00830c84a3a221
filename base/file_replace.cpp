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

// A scanner, an indexer or a virus checker holds a file it looks at for a moment: the rename is
// tried again a few times, 50 ms apart, before it counts as failed.
bool MoveOver(const std::wstring& from, const std::wstring& to) {
  constexpr int kTries = 8;
  for (int tried = 1;; ++tried) {
    if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    const DWORD error = ::GetLastError();
    if (tried == kTries ||
        (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED && error != ERROR_LOCK_VIOLATION)) {
      return false;
    }
    ::Sleep(50);
  }
}

}  // namespace

bool ReplaceFileContents(const std::wstring& path, std::string_view bytes, LogText notWritten, LogText notRenamed) {
  const std::wstring temporary = path + L".new";
  if (!WriteAndFlush(temporary, bytes)) {
    RemoveKeepingError(temporary);
    LogLastError(notWritten);
    return false;
  }
  if (!MoveOver(temporary, path)) {
    RemoveKeepingError(temporary);
    LogLastError(notRenamed);
    return false;
  }
  return true;
}

}  // namespace fernwick
