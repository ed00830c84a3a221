#include "upload/batch_journal_file.h"

#include <windows.h>

#include "base/file_replace.h"
#include "base/log.h"
#include "base/user_folders.h"
#include "imaging/file_bytes.h"

namespace fernwick {

namespace {
constexpr wchar_t kJournalName[] = L"\\batch.journal";
}

std::wstring BatchJournalPath() {
  const std::wstring folder = ProgramFolder(UserFolder::kLocal);
  return folder.empty() ? folder : folder + kJournalName;
}

bool WriteBatchJournal(const BatchJournal& journal) {
  const std::wstring folder = CreateProgramFolder(UserFolder::kLocal);
  if (folder.empty()) return false;  // logged there
  return ReplaceFileContents(folder + kJournalName, EncodeBatchJournal(journal),
                             "batch journal: the new journal cannot be written",
                             "batch journal: the new journal cannot replace the old one");
}

std::optional<BatchJournal> ReadBatchJournal() {
  const std::wstring path = BatchJournalPath();
  if (path.empty() || ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path);
  if (!bytes) {
    LogLastError("batch journal: it cannot be read");
    return std::nullopt;
  }
  std::optional<BatchJournal> journal =
      DecodeBatchJournal(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  if (!journal) LogFailure("batch journal: not understood, passed over");
  return journal;
}

void RemoveBatchJournal() {
  const std::wstring path = BatchJournalPath();
  if (path.empty() || ::DeleteFileW(path.c_str())) return;
  const DWORD error = ::GetLastError();
  if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
    LogSystemFailure("batch journal: it cannot be removed", error);
  }
}

}  // namespace fernwick
