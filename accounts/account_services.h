#pragma once
// The server requests the account code makes, behind one replaceable seam: the program uses the
// real requests and a thread of their own, tests script the answers and may choose the thread.
// The requests block; they are made on a worker (base/background_request.h), never on the UI
// thread.
#include <functional>
#include <memory>
#include <string>

#include "accounts/core/account_entry.h"
#include "base/background_work.h"
#include "base/ui_task.h"
#include "service/core/result_codes.h"
#include "service/version_check.h"

namespace fernwick {

// Same contract as SignIn: 0, -1 or -2; authstr, percent and blogName are set only on 0.
using SignInFunction = std::function<int(const std::wstring& userName, const std::wstring& password,
                                         std::string& authstr, int& percent, std::string& blogName)>;
// Same contract as CheckVersion: 0 with the three strings, anything else on failure.
using VersionCheckFunction = std::function<int(VersionInfo& info)>;
// What a sign-in told; the token is never kept.
struct SignInAnswer {
  int result = kResultNoExchange;  // 0, -1 or -2
  int percent = 0;
  std::string blogName;  // as the server sent it (code page 936)
};

struct VersionAnswer {
  int result = kResultNoExchange;
  VersionInfo info;
};

struct AccountServices {
  SignInFunction signIn;
  VersionCheckFunction checkVersion;
  Spawner spawn = DetachedThread("account worker");

  // On the calling thread, which waits for the server. A missing function or one that throws
  // counts as no connection.
  SignInAnswer AskSignIn(const AccountEntry& account) const;
  VersionAnswer AskVersion() const;
};

// The real requests to the upload server.
AccountServices ProductionAccountServices();

// Every sign-in of the program's windows: `account` signed in through `services` on a worker,
// the answer handled on the UI thread (AskInBackground, base/background_request.h).
void SignInInBackground(const AccountServices& services, std::shared_ptr<UiTaskChannel> channel, AccountEntry account,
                        std::function<void(SignInAnswer)> answered);

}  // namespace fernwick
