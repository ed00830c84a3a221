#include "accounts/core/settings_text.h"

#include <cstdint>
#include <string>

#include "base/core/ansi_text.h"

namespace fernwick {

namespace {

constexpr char kFieldSeparator = '\x01';
constexpr char kRecordEnd = '\x02';

// Fixed for good: changing any of them makes every existing settings file unreadable.
constexpr uint32_t kCipherSeed = 0x6B8F21D4u;
constexpr uint32_t kCipherMultiplier = 0x0019660Du;
constexpr uint32_t kCipherAddend = 0x3C6EF35Fu;

uint32_t NextKey(uint32_t key, unsigned char storedByte) noexcept {
  return (storedByte + key) * kCipherMultiplier + kCipherAddend;
}

unsigned char KeyByte(uint32_t key) noexcept { return static_cast<unsigned char>((key >> 8) & 0xFFu); }

StoredAccount SplitRecord(std::string_view record) {
  const std::size_t split = FindCp936Char(record, kFieldSeparator);
  if (split == std::string_view::npos) return StoredAccount{std::string(), std::string(record)};
  return StoredAccount{std::string(record.substr(0, split)), std::string(record.substr(split + 1))};
}

void AppendRecord(std::string& text, const std::string& first, const std::string& second) {
  text += first;
  text += kFieldSeparator;
  text += second;
  text += kRecordEnd;
}

}  // namespace

std::string BuildSettingsText(const SettingsContent& content) {
  std::string text;
  AppendRecord(text, content.currentUserName, content.currentPassword);
  text += std::to_string(content.sizeLimit);
  text += kRecordEnd;
  for (const StoredAccount& entry : content.savedAccounts) AppendRecord(text, entry.userName, entry.password);
  return text;
}

SettingsContent ParseSettingsText(std::string_view text) {
  if (const std::size_t zero = text.find('\0'); zero != std::string_view::npos) text = text.substr(0, zero);
  constexpr std::size_t npos = std::string_view::npos;

  SettingsContent content;
  const std::size_t firstEnd = FindCp936Char(text, kRecordEnd);
  const StoredAccount current = SplitRecord(firstEnd == npos ? std::string_view() : text.substr(0, firstEnd));
  content.currentUserName = current.userName;
  content.currentPassword = current.password;

  const std::size_t sizeEnd = firstEnd == npos ? npos : FindCp936Char(text, kRecordEnd, firstEnd + 1);
  const std::string_view sizeField =
      sizeEnd == npos ? std::string_view() : text.substr(firstEnd + 1, sizeEnd - firstEnd - 1);
  const int limit = AtoiRules(sizeField);
  content.sizeLimit = limit == 0 ? kDefaultSizeLimit : limit;
  if (sizeEnd == npos) return content;

  for (std::size_t start = sizeEnd + 1;;) {
    const std::size_t end = FindCp936Char(text, kRecordEnd, start);
    if (end == npos || end == start) break;
    content.savedAccounts.push_back(SplitRecord(text.substr(start, end - start)));
    start = end + 1;
  }
  return content;
}

std::string EncipherSettingsText(std::string_view plain) {
  std::string out(plain.size(), '\0');
  uint32_t key = kCipherSeed;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    const auto stored = static_cast<unsigned char>(static_cast<unsigned char>(plain[i]) ^ KeyByte(key));
    out[i] = static_cast<char>(stored);
    key = NextKey(key, stored);
  }
  return out;
}

std::string DecipherSettingsText(std::string_view stored) {
  std::string out(stored.size(), '\0');
  uint32_t key = kCipherSeed;
  for (std::size_t i = 0; i < stored.size(); ++i) {
    const auto byte = static_cast<unsigned char>(stored[i]);
    out[i] = static_cast<char>(byte ^ KeyByte(key));
    key = NextKey(key, byte);
  }
  return out;
}

}  // namespace fernwick
