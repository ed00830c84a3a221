#include "upload/core/upload_history.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "upload/core/journal_text.h"

namespace fernwick {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
constexpr size_t kCheckDigits = 8;
// Far more than any record needs: a tail without a newline this long (the zeros a power cut can
// leave at the end of a file) is damage, not a line still to be finished.
constexpr size_t kLongestLine = 64 * 1024;

// FNV-1a taken eight bytes at a time (loading 100,000 lines must stay well under 100 ms), folded
// to 32 bits: it only has to tell a torn or overwritten line from a whole one.
uint32_t LineCheck(std::string_view text) noexcept {
  uint64_t check = 14695981039346656037ull;
  constexpr uint64_t kPrime = 1099511628211ull;
  size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    uint64_t word = 0;
    std::memcpy(&word, text.data() + at, sizeof word);
    check = (check ^ word) * kPrime;
  }
  for (; at < text.size(); ++at) check = (check ^ static_cast<uint8_t>(text[at])) * kPrime;
  return static_cast<uint32_t>(check ^ (check >> 32));
}

constexpr std::array<int8_t, 256> kHexValues = [] {
  std::array<int8_t, 256> values{};
  values.fill(-1);
  for (int i = 0; i < 16; ++i) values[static_cast<uint8_t>(kHexDigits[i])] = static_cast<int8_t>(i);
  return values;
}();
int HexValue(char c) noexcept { return kHexValues[static_cast<uint8_t>(c)]; }

std::optional<Sha256Digest> DigestOf(std::string_view hex) {
  Sha256Digest digest{};
  if (hex.size() != 2 * digest.size()) return std::nullopt;
  for (size_t i = 0; i < digest.size(); ++i) {
    const int high = HexValue(hex[2 * i]);
    const int low = HexValue(hex[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    digest[i] = static_cast<uint8_t>(high << 4 | low);
  }
  return digest;
}

// A line's fields, its texts still escaped: loading unescapes only a name that needs it and never
// a title, which nothing in memory holds.
struct LineFields {
  Sha256Digest original;
  int32_t photoId;
  int64_t time;
  std::string_view account;
  std::string_view title;
};

std::optional<LineFields> FieldsOf(std::string_view line) {
  if (line.size() <= kCheckDigits + 1 || line[kCheckDigits] != ' ') return std::nullopt;
  const std::string_view body = line.substr(kCheckDigits + 1);
  if (NumberOf<uint32_t>(line.substr(0, kCheckDigits), 16) != LineCheck(body)) return std::nullopt;
  std::string_view rest = body;
  const std::optional<Sha256Digest> original = DigestOf(NextWord(rest));
  const auto photoId = NumberOf<int32_t>(NextWord(rest));
  const auto time = NumberOf<int64_t>(NextWord(rest));
  const size_t tab = rest.find('\t');
  if (!original || !photoId || *photoId < 0 || !time || tab == 0 || tab == std::string_view::npos) return std::nullopt;
  return LineFields{*original, *photoId, *time, rest.substr(0, tab), rest.substr(tab + 1)};
}

}  // namespace

std::string EncodeHistoryRecord(const HistoryRecord& record) {
  std::string body;
  body.reserve(2 * record.original.size() + 40 + record.account.size() + record.title.size());
  for (uint8_t byte : record.original) {
    body += kHexDigits[byte >> 4];
    body += kHexDigits[byte & 0xF];
  }
  body += ' ' + std::to_string(record.photoId) + ' ' + std::to_string(record.time) + ' ' +
          EscapeJournalText(record.account) + '\t' + EscapeJournalText(record.title);
  std::string line(kCheckDigits, '0');
  const uint32_t check = LineCheck(body);
  for (size_t i = 0; i < kCheckDigits; ++i) line[i] = kHexDigits[(check >> (28 - 4 * i)) & 0xF];
  return line + ' ' + body + '\n';
}

std::optional<HistoryRecord> DecodeHistoryRecord(std::string_view line) {
  const std::optional<LineFields> fields = FieldsOf(line);
  if (!fields) return std::nullopt;
  std::optional<std::string> account = UnescapeJournalText(fields->account);
  std::optional<std::string> title = UnescapeJournalText(fields->title);
  if (!account || !title) return std::nullopt;
  return HistoryRecord{std::move(*account), fields->original, fields->photoId, fields->time, std::move(*title)};
}

std::optional<uint32_t> HistoryIndex::AccountNumber(std::string_view account) const noexcept {
  for (size_t i = 0; i < accounts_.size(); ++i) {
    if (accounts_[i] == account) return static_cast<uint32_t>(i);
  }
  return std::nullopt;
}

size_t HistoryIndex::SlotOf(uint32_t account, const Sha256Digest& original) const noexcept {
  // The digest is already evenly spread: eight of its bytes are the key's hash.
  uint64_t hash = 0;
  std::memcpy(&hash, original.data(), sizeof hash);
  hash ^= (account + 1) * 0x9E3779B97F4A7C15ull;
  const size_t mask = slots_.size() - 1;
  for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const uint32_t held = slots_[slot];
    if (held == 0) return slot;
    const HistoryEntry& entry = entries_[held - 1];
    if (entry.account == account && entry.original == original) return slot;
  }
}

void HistoryIndex::Rehash(size_t slotCount) {
  slots_.assign(slotCount, 0);
  for (size_t i = 0; i < entries_.size(); ++i) {
    slots_[SlotOf(entries_[i].account, entries_[i].original)] = static_cast<uint32_t>(i + 1);
  }
}

void HistoryIndex::Reserve(size_t records) {
  entries_.reserve(records);
  size_t slots = 64;
  while (slots < 2 * records) slots *= 2;
  if (slots > slots_.size()) Rehash(slots);
}

void HistoryIndex::Add(const HistoryRecord& record) {
  Add(record.account, record.original, record.photoId, record.time);
}

void HistoryIndex::Add(std::string_view name, const Sha256Digest& original, int32_t photoId, int64_t time) {
  std::optional<uint32_t> account = AccountNumber(name);
  if (!account) {
    account = static_cast<uint32_t>(accounts_.size());
    accounts_.emplace_back(name);
  }
  // At most half full, so a lookup seldom looks past its first slot.
  if (2 * (entries_.size() + 1) > slots_.size()) Rehash(std::max<size_t>(64, 2 * slots_.size()));
  const size_t slot = SlotOf(*account, original);
  if (slots_[slot] != 0) {
    HistoryEntry& entry = entries_[slots_[slot] - 1];
    if (photoId > 0 || entry.photoId == 0) {
      entry.photoId = photoId;
      entry.time = time;
    }
    return;
  }
  entries_.push_back(HistoryEntry{original, *account, photoId, time});
  slots_[slot] = static_cast<uint32_t>(entries_.size());
}

const HistoryEntry* HistoryIndex::Find(std::string_view account, const Sha256Digest& original) const noexcept {
  const std::optional<uint32_t> number = AccountNumber(account);
  if (!number || slots_.empty()) return nullptr;
  const uint32_t held = slots_[SlotOf(*number, original)];
  return held == 0 ? nullptr : &entries_[held - 1];
}

void HistoryIndex::ForgetAccount(std::string_view account) {
  const std::optional<uint32_t> number = AccountNumber(account);
  if (!number) return;
  std::erase_if(entries_, [&](const HistoryEntry& entry) { return entry.account == *number; });
  Rehash(slots_.size());
}

size_t HistoryIndex::MemoryBytes() const noexcept {
  size_t bytes = entries_.capacity() * sizeof(HistoryEntry) + slots_.capacity() * sizeof(uint32_t) +
                 accounts_.capacity() * sizeof(std::string);
  for (const std::string& name : accounts_) bytes += name.capacity();
  return bytes;
}

void HistoryReader::Line(std::string_view line) {
  if (damaged_) return;
  if (!headingRead_) {
    headingRead_ = line == kHistoryHeading.substr(0, kHistoryHeading.size() - 1);
    damaged_ = !headingRead_;
  } else if (const std::optional<LineFields> fields = FieldsOf(line)) {
    if (fields->account.find('\\') == std::string_view::npos) {
      index_.Add(fields->account, fields->original, fields->photoId, fields->time);
    } else if (const std::optional<std::string> account = UnescapeJournalText(fields->account)) {
      index_.Add(*account, fields->original, fields->photoId, fields->time);
    } else {
      damaged_ = true;
    }
  } else {
    damaged_ = true;
  }
  if (!damaged_) sound_ += line.size() + 1;
}

void HistoryReader::Feed(std::string_view piece) {
  if (damaged_) return;
  if (!pending_.empty()) {
    const size_t end = piece.find('\n');
    if (end == std::string_view::npos) {
      pending_.append(piece);
      damaged_ = pending_.size() > kLongestLine;
      return;
    }
    pending_.append(piece.substr(0, end));
    piece.remove_prefix(end + 1);
    const std::string line = std::move(pending_);
    pending_.clear();
    Line(line);
  }
  for (size_t end = piece.find('\n'); end != std::string_view::npos && !damaged_; end = piece.find('\n')) {
    Line(piece.substr(0, end));
    piece.remove_prefix(end + 1);
  }
  if (damaged_) return;
  pending_.assign(piece);
  if (pending_.size() > kLongestLine) damaged_ = true;
}

std::string HistoryWithoutAccount(std::string_view bytes, std::string_view account) {
  std::string kept;
  kept.reserve(bytes.size());
  for (size_t end = bytes.find('\n'); end != std::string_view::npos; end = bytes.find('\n')) {
    const std::string_view line = bytes.substr(0, end);
    const std::optional<HistoryRecord> record = DecodeHistoryRecord(line);
    if (!record || record->account != account) kept.append(bytes.substr(0, end + 1));
    bytes.remove_prefix(end + 1);
  }
  return kept;
}

}  // namespace fernwick
