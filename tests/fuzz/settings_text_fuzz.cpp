// libFuzzer target: whatever bytes the settings file holds, deciphering and parsing them must
// not fail, and a parsed content written back and read again must come back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "accounts/core/settings_text.h"
#include "controls/core/link_text.h"

namespace {

bool HasSeparator(const std::string& s) { return s.find_first_of(std::string("\x01\x02\0", 3)) != std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view stored(reinterpret_cast<const char*>(data), size);
  const std::string text = fernwick::DecipherSettingsText(stored);
  if (text.size() != size || fernwick::EncipherSettingsText(text) != stored) __builtin_trap();

  const fernwick::SettingsContent content = fernwick::ParseSettingsText(text);
  if (content.sizeLimit == 0) __builtin_trap();
  // Also the raw bytes as a plain text.
  (void)fernwick::ParseSettingsText(stored);

  bool writable = !HasSeparator(content.currentUserName) && !HasSeparator(content.currentPassword);
  for (const auto& entry : content.savedAccounts) {
    writable = writable && !HasSeparator(entry.userName) && !HasSeparator(entry.password);
  }
  if (writable) {
    const fernwick::SettingsContent again = fernwick::ParseSettingsText(fernwick::BuildSettingsText(content));
    if (again.currentUserName != content.currentUserName || again.currentPassword != content.currentPassword ||
        again.sizeLimit != content.sizeLimit || again.savedAccounts != content.savedAccounts) {
      __builtin_trap();
    }
  }

  (void)fernwick::ParseColourText(stored);
  (void)fernwick::ParseLinkMarkup(std::wstring(stored.begin(), stored.end()));
  return 0;
}
