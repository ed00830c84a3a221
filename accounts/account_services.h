#pragma once
// The two server requests the account dialogs and the start-up sign-in make, as replaceable
// functions: the program uses the real requests, tests script the answers.
#include <functional>
#include <string>

#include "service/version_check.h"

namespace fernwick {

// Same contract as SignIn: 0, -1 or -2; authstr, percent and blogName are set only on 0.
using SignInFunction = std::function<int(const std::string& userName, const std::string& password, std::string& authstr,
                                         int& percent, std::string& blogName)>;
// Same contract as CheckVersion: 0 with the three strings, anything else on failure.
using VersionCheckFunction = std::function<int(VersionInfo& info)>;

struct AccountServices {
  SignInFunction signIn;
  VersionCheckFunction checkVersion;
};

// The real requests to the upload server.
AccountServices ProductionAccountServices();

}  // namespace fernwick
