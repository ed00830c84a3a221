#pragma once
// The settings file's content: the records of the plain text, and the autokey stream cipher
// that hides them on disk. No Windows API here, so all of it is tested natively.
#include <string>
#include <string_view>
#include <vector>

namespace fernwick {

inline constexpr int kDefaultSizeLimit = 1024;

// One account as the file holds it: code page 936 bytes, whatever the system's code page.
struct StoredAccount {
  std::string userName;
  std::string password;

  friend bool operator==(const StoredAccount&, const StoredAccount&) = default;
};

struct SettingsContent {
  std::string currentUserName;
  std::string currentPassword;
  int sizeLimit = kDefaultSizeLimit;
  std::vector<StoredAccount> savedAccounts;
};

// Current account, size limit, then one record per saved account; every record ends in 0x02
// and its two fields are split by 0x01. No escaping: a field holding 0x01 or 0x02 does not
// survive a round trip.
std::string BuildSettingsText(const SettingsContent& content);

// Reads whatever a (possibly damaged) text yields; never fails. A zero byte ends the text.
SettingsContent ParseSettingsText(std::string_view text);

// Byte-wise autokey stream; the output is as long as the input, and each undoes the other.
std::string EncipherSettingsText(std::string_view plain);
std::string DecipherSettingsText(std::string_view stored);

}  // namespace fernwick
