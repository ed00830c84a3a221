#include "upload/batch_journal_file.h"

#include <windows.h>

#include "base/file_replace.h"
#include "base/handles.h"
#include "base/log.h"
#include "base/user_folders.h"
#include "imaging/file_bytes.h"
#include "upload/core/journal_text.h"

namespace fernwick {

namespace {
constexpr wchar_t kJournalName[] = L"\\batch.journal";
}

// wchar_t is UTF-16 here.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::string JournalText(std::wstring_view text) {
  return JournalBytesFromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

std::wstring WideFromJournal(std::string_view bytes) {
  const std::u16string text = Utf16FromJournalBytes(bytes);
  return std::wstring(text.begin(), text.end());
}

std::wstring BatchJournalPath() {
  const std::wstring folder = ProgramFolder(UserFolder::kLocal);
  return folder.empty() ? folder : folder + kJournalName;
}

bool WriteBatchJournal(const BatchJournal& journal, JournalForm form) {
  const std::wstring folder = CreateProgramFolder(UserFolder::kLocal);
  if (folder.empty()) return false;  // logged there
  return ReplaceFileContents(folder + kJournalName, EncodeBatchJournal(journal, form),
                             "batch journal: the new journal cannot be written",
                             "batch journal: the new journal cannot replace the old one");
}

// One write and one flush, instead of a new file, its flush and a rename: a batch's photo costs
// two of these. Opened for each change, so that a reader (the start of the program, a virus
// checker) is never kept out by a handle the batch holds, and a journal removed or replaced
// meanwhile is not written to in the dark.
bool AppendBatchJournalChange(size_t entry, JournalState state, int32_t photoId, bool flush) {
  const std::wstring path = BatchJournalPath();
  if (path.empty()) return false;
  const std::string line = EncodeJournalChange(entry, state, photoId);
  UniqueFile file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file || !::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
      written != line.size() || (flush && !::FlushFileBuffers(file.get()))) {
    LogLastError("batch journal: a change cannot be appended, the journal is written whole");
    return false;
  }
  return true;
}

FoundJournal ReadBatchJournal() {
  const std::wstring path = BatchJournalPath();
  if (path.empty() || ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return {};
  // Beside a batch appending to it (another copy of the program): a line cut off is left out.
  const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path, ReadBeside::kWriters);
  if (!bytes) {
    // A scanner or an indexer holding it, a read error: the next start may read it.
    LogLastError("batch journal: it cannot be read now, it is kept for the next start");
    return {FoundJournal::Kind::HeldNow};
  }
  std::optional<BatchJournal> journal =
      DecodeBatchJournal(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  if (!journal) {
    LogFailure("batch journal: not understood, passed over");
    return {FoundJournal::Kind::NotUnderstood};
  }
  return {FoundJournal::Kind::Read, std::move(*journal)};
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
