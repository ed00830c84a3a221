#pragma once
// What each account has uploaded, kept so that the same photo is not sent twice by mistake: one
// record for every photo a batch sent, by the SHA-256 of the user's own file (the bytes chosen,
// not the working copy). The file is UTF-8 text that only the program reads, one record a line
// after its heading, and only ever appended to:
//
//   fernwick upload history 1
//   5d41b2c0 9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08 4711 1765251600 alice\t海边
//
// a check of the rest of the line (8 hex digits), the hash, the server's photo id (0
// when the answer was lost and the photo may be on the site), the time (seconds since 1970,
// UTC), then the account's name and the photo's title (journal_text.h: escaped, tab between).
// A record is one write of one line: a crash can only tear the last one, and whatever follows
// the first line that is not whole and sound is dropped, the rest kept. No password or token is
// ever part of a record.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/core/sha256.h"

namespace fernwick {

inline constexpr std::string_view kHistoryHeading = "fernwick upload history 1\n";

struct HistoryRecord {
  std::string account;  // the journal's form of the account's user name
  Sha256Digest original{};
  int32_t photoId = 0;  // the server's; 0 when the photo may be on the site without one
  int64_t time = 0;     // seconds since 1970, UTC
  std::string title;    // the journal's form
  bool operator==(const HistoryRecord&) const = default;
};

// One line, its newline included.
std::string EncodeHistoryRecord(const HistoryRecord& record);
// A line without its newline; none when it is not whole and sound.
std::optional<HistoryRecord> DecodeHistoryRecord(std::string_view line);

// What the grid and Upload ask of a photo: whether the account sent it and how it went.
struct HistoryEntry {
  Sha256Digest original{};
  uint32_t account = 0;  // the index's number for the account's name
  int32_t photoId = 0;
  int64_t time = 0;
};

// The records in memory, found by account and hash in one hash lookup. Titles stay in the file:
// nothing shows them, and 100,000 records must fit in a few megabytes.
class HistoryIndex {
 public:
  // A later record of the same photo and account replaces an earlier one, except that one that
  // may be on the site never replaces one the server confirmed.
  void Add(const HistoryRecord& record);
  void Add(std::string_view account, const Sha256Digest& original, int32_t photoId, int64_t time);
  // Room for about this many records, so that loading a large file does not grow it step by step.
  void Reserve(size_t records);
  const HistoryEntry* Find(std::string_view account, const Sha256Digest& original) const noexcept;
  void ForgetAccount(std::string_view account);
  size_t size() const noexcept { return entries_.size(); }
  // What the index holds on the heap, in bytes.
  size_t MemoryBytes() const noexcept;

 private:
  std::optional<uint32_t> AccountNumber(std::string_view account) const noexcept;
  size_t SlotOf(uint32_t account, const Sha256Digest& original) const noexcept;
  void Rehash(size_t slotCount);

  std::vector<std::string> accounts_;
  std::vector<HistoryEntry> entries_;
  std::vector<uint32_t> slots_;  // entry number + 1, 0 for a free slot; a power of two long
};

// Reads the file a piece at a time into an index, so that loading never holds the whole file.
class HistoryReader {
 public:
  explicit HistoryReader(HistoryIndex& index) noexcept : index_(index) {}
  void Feed(std::string_view piece);
  // After the last piece: how many bytes from the start are the heading and sound records.
  // Anything after them (a torn or damaged tail) is to be cut off; 0 when even the heading is
  // not there, and the file is to be begun anew.
  size_t SoundBytes() const noexcept { return sound_; }
  bool Damaged() const noexcept { return damaged_ || !pending_.empty(); }

 private:
  void Line(std::string_view line);

  HistoryIndex& index_;
  std::string pending_;  // the start of a line that the next piece ends
  size_t sound_ = 0;
  bool headingRead_ = false;
  bool damaged_ = false;
};

// The file's bytes without the records of `account` (deleting an account deletes its history).
std::string HistoryWithoutAccount(std::string_view bytes, std::string_view account);

}  // namespace fernwick
