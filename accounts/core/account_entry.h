#pragma once
// One saved account, as the program holds it. Portable.
#include <string>

namespace fernwick {

struct AccountEntry {
  std::wstring userName;
  std::wstring password;

  friend bool operator==(const AccountEntry&, const AccountEntry&) = default;
};

}  // namespace fernwick
