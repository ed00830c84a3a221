#include "base/log_file.h"

#include <windows.h>
#include <shlobj.h>

#include "base/core/log_line.h"
#include "base/handles.h"
#include "base/user_folders.h"

namespace fernwick {

namespace {

UniqueFile OpenForAppending(const std::wstring& path) {
  // Shared for deleting so that another process writing the same log can turn it over.
  return UniqueFile(::CreateFileW(path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

uint64_t SizeOf(const UniqueFile& file) {
  LARGE_INTEGER size{};
  return ::GetFileSizeEx(file.get(), &size) && size.QuadPart > 0 ? static_cast<uint64_t>(size.QuadPart) : 0;
}

bool WriteAll(const UniqueFile& file, const std::string& bytes) {
  if (bytes.empty()) return true;
  DWORD written = 0;
  return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace

std::wstring DefaultLogFolder() {
  if (std::wstring folder = FolderFromEnvironment(kLogFolderVariable); !folder.empty()) return folder;
  const std::wstring localAppData = KnownFolderPath(UserFolder::kLocal);
  if (localAppData.empty()) return std::wstring();
  return localAppData + L"\\Fernwick";
}

bool AppendLogLines(const std::wstring& folder, const std::vector<std::string>& lines) {
  if (folder.empty()) return false;
  const std::wstring path = folder + L"\\" + kLogFileName;
  UniqueFile file = OpenForAppending(path);
  if (!file) {
    // The first line ever, or the folder was removed: make it (with any missing parents).
    ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    file = OpenForAppending(path);
    if (!file) return false;
  }
  uint64_t size = SizeOf(file);
  // Lines go out in runs, one write for each run that fits before the next turn-over.
  std::string run;
  bool turnable = true;
  for (const std::string& line : lines) {
    if (turnable && RotationDue(size + run.size(), line.size())) {
      if (!WriteAll(file, run)) return false;
      run.clear();
      file.reset();
      // When the rename fails (the older copy is held open somewhere) this batch goes on in
      // the long file rather than trying again before every line.
      turnable = ::MoveFileExW(path.c_str(), (folder + L"\\" + kRotatedLogFileName).c_str(),
                               MOVEFILE_REPLACE_EXISTING) != FALSE;
      file = OpenForAppending(path);
      if (!file) return false;
      size = SizeOf(file);
    }
    run += line;
  }
  return WriteAll(file, run);
}

}  // namespace fernwick
