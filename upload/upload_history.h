#pragma once
// The history of what each account uploaded (upload/core/upload_history.h for its records),
// kept in "upload.history" in the program's local folder of the user, beside fernwick.log.
// Only the UI thread holds it: it loads it at start, records each photo as the window applies
// the batch's result, and answers the grid and Upload from memory. A history that cannot be
// read or written costs only the warning about photos sent before: logged, nothing else.
#include <cstdint>
#include <string>

#include "base/core/sha256.h"
#include "upload/core/upload_history.h"

namespace fernwick {

class UploadHistory {
 public:
  // The file of the user's local folder (UploadHistoryPath, as Load finds it); the bench names
  // another one.
  UploadHistory();
  explicit UploadHistory(std::wstring path) noexcept : path_(std::move(path)) {}

  // Reads the file, a piece at a time; a damaged tail is cut off the file, the rest kept.
  void Load();
  // Appends one record, in one write, flushed to the disk; `photoId` 0 when the answer was
  // lost and the photo may be on the site. Dated now.
  void Record(const std::wstring& account, const Sha256Digest& original, int32_t photoId, const std::wstring& title);
  const HistoryEntry* Find(const std::wstring& account, const Sha256Digest& original) const noexcept;
  // Deleting an account deletes its records, in the file (put in place whole) and in memory.
  void ForgetAccount(const std::wstring& account);

  const HistoryIndex& index() const noexcept { return index_; }

 private:
  std::wstring path_;
  bool inUserFolder_ = false;  // the folder is made before the first record
  HistoryIndex index_;
};

// "upload.history" in the user's local folder of the program; empty when that is not known.
std::wstring UploadHistoryPath();

// The date of a record, as the program writes dates: "yyyy-MM-dd", local time.
std::wstring HistoryDateText(int64_t time);

}  // namespace fernwick
