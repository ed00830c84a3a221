#include "upload/upload_history.h"

#include <windows.h>

#include <array>
#include <cwchar>

#include "base/file_replace.h"
#include "base/handles.h"
#include "base/log.h"
#include "base/user_folders.h"
#include "imaging/file_bytes.h"
#include "upload/batch_journal_file.h"

namespace fernwick {

namespace {

constexpr wchar_t kHistoryName[] = L"\\upload.history";
// FILETIME counts 100 ns from 1601.
constexpr int64_t kFileTimePerSecond = 10'000'000;
constexpr int64_t kFileTimeAt1970 = 116'444'736'000'000'000;

int64_t SecondsNow() {
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  const int64_t ticks = (static_cast<int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return (ticks - kFileTimeAt1970) / kFileTimePerSecond;
}

// Cuts the file at `length` (0: nothing of it is sound, it begins anew at the next record).
void CutFile(const std::wstring& path, size_t length) {
  UniqueFile file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(length);
  if (!file || !::SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) || !::SetEndOfFile(file.get())) {
    LogLastError("upload history: its damaged end cannot be cut off");
    return;
  }
  LogFailure("upload history: a damaged end was cut off, the records before it are kept");
}

}  // namespace

std::wstring UploadHistoryPath() {
  const std::wstring folder = ProgramFolder(UserFolder::kLocal);
  return folder.empty() ? folder : folder + kHistoryName;
}

UploadHistory::UploadHistory() : inUserFolder_(true) {}

void UploadHistory::Load() {
  if (inUserFolder_) path_ = UploadHistoryPath();
  if (path_.empty()) return;
  UniqueFile file(::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
      LogSystemFailure("upload history: it cannot be read", error);
    }
    return;
  }
  LARGE_INTEGER size{};
  // A record takes about a hundred bytes of the file.
  if (::GetFileSizeEx(file.get(), &size)) index_.Reserve(static_cast<size_t>(size.QuadPart / 100));
  HistoryReader reader(index_);
  std::array<char, 256 * 1024> piece;
  DWORD read = 0;
  while (::ReadFile(file.get(), piece.data(), static_cast<DWORD>(piece.size()), &read, nullptr) && read > 0) {
    reader.Feed(std::string_view(piece.data(), read));
  }
  if (!reader.Damaged()) return;
  file.reset();
  CutFile(path_, reader.SoundBytes());
}

void UploadHistory::Record(const std::wstring& account, const Sha256Digest& original, int32_t photoId,
                           const std::wstring& title) {
  const HistoryRecord record{JournalText(account), original, photoId, SecondsNow(), JournalText(title)};
  index_.Add(record);
  if (path_.empty()) return;
  if (inUserFolder_) CreateProgramFolder(UserFolder::kLocal);  // logged there when it cannot be
  UniqueFile file(::CreateFileW(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.get(), &size)) {
    LogLastError("upload history: a record cannot be written");
    return;
  }
  // One write for the whole line: a crash tears at most this line, which the next start drops.
  std::string line = size.QuadPart == 0 ? std::string(kHistoryHeading) : std::string();
  line += EncodeHistoryRecord(record);
  DWORD written = 0;
  if (!::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
      written != line.size() || !::FlushFileBuffers(file.get())) {
    LogLastError("upload history: a record cannot be written");
  }
}

const HistoryEntry* UploadHistory::Find(const std::wstring& account, const Sha256Digest& original) const noexcept {
  return index_.Find(JournalText(account), original);
}

void UploadHistory::ForgetAccount(const std::wstring& account) {
  const std::string name = JournalText(account);
  index_.ForgetAccount(name);
  if (path_.empty() || ::GetFileAttributesW(path_.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path_);
  if (!bytes) {
    LogLastError("upload history: it cannot be read to delete an account's records");
    return;
  }
  const std::string_view all(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  ReplaceFileContents(path_, HistoryWithoutAccount(all, name),
                      "upload history: the history without the account cannot be written",
                      "upload history: the history without the account cannot replace the old one");
}

std::wstring HistoryDateText(int64_t time) {
  const int64_t ticks = time * kFileTimePerSecond + kFileTimeAt1970;
  const FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  FILETIME local{};
  SYSTEMTIME date{};
  if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &date)) return {};
  std::array<wchar_t, 16> text{};
  std::swprintf(text.data(), text.size(), L"%04u-%02u-%02u", date.wYear, date.wMonth, date.wDay);
  return text.data();
}

}  // namespace fernwick
