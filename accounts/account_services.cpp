#include "accounts/account_services.h"

#include "service/auth_requests.h"

namespace fernwick {

AccountServices ProductionAccountServices() {
  return AccountServices{
      [](const std::string& userName, const std::string& password, std::string& authstr, int& percent,
         std::string& blogName) { return SignIn(userName, password, authstr, percent, blogName); },
      [](VersionInfo& info) { return CheckVersion(info); }};
}

}  // namespace fernwick
