#include "imaging/file_bytes.h"

#include <windows.h>

#include <utility>

#include "base/handles.h"

namespace fernwick {

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::wstring& path, ReadBeside beside,
                                                  std::vector<uint8_t> memory) {
  if (path.empty()) return std::nullopt;
  const DWORD share = beside == ReadBeside::kWriters ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ;
  UniqueFile file(
      ::CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 || size.QuadPart > (1 << 30)) return std::nullopt;
  std::vector<uint8_t> bytes = std::move(memory);
  bytes.clear();
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() && !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
    return std::nullopt;
  }
  bytes.resize(read);
  return bytes;
}

bool WriteFileBytes(const std::wstring& path, std::span<const uint8_t> bytes) {
  if (path.empty()) return false;
  bool written = false;
  {
    UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD count = 0;
    written = !bytes.empty() &&
              ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) &&
              count == bytes.size();
  }
  if (!written) {
    // The caller tells the user why: the write's error, not the clean-up's.
    const DWORD error = ::GetLastError();
    ::DeleteFileW(path.c_str());
    ::SetLastError(error);
  }
  return written;
}

}  // namespace fernwick
