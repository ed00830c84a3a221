#pragma once
// One saved account. Portable: the settings text codec and the account dialogs share it.
#include <string>

namespace fernwick {

struct AccountEntry {
  std::string userName;
  std::string password;

  friend bool operator==(const AccountEntry&, const AccountEntry&) = default;
};

}  // namespace fernwick
