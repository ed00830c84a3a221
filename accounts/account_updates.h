#pragma once
// The changes to the main window's account fields that several account operations share.
#include <string>

#include "accounts/account_services.h"
#include "accounts/account_state.h"

namespace fernwick {

// "当前用户:%s"
std::string CurrentUserText(const std::string& userName);
// "使用了%d%%的本月上传空间"
std::string QuotaText(int percent);

struct SignInAnswer {
  int result = kResultNoExchange;  // 0, -1 or -2
  int percent = 0;
  std::string blogName;
};

// One sign-in through `signIn`; the token is not kept. A missing function or one that throws
// counts as no connection.
SignInAnswer AskSignIn(const SignInFunction& signIn, const std::string& userName, const std::string& password);

// The message for a failed sign-in: "用户名或密码错误." when refused, otherwise
// "不能连接服务器,请检查网络.".
const char* SignInFailureText(int result);

// A successful sign-in of this account: it becomes current, the two lines show it, the blog
// name is kept, the photo link leads to the home page, and the window shows the new texts.
void ApplySignedIn(AccountHost& host, const std::string& userName, const std::string& password, int percent,
                   const std::string& blogName);

// Nobody is signed in any more: the four fields become empty (the saved list is untouched).
void ClearCurrentAccount(AccountState& state);

// Removes the first saved entry matching both fields, byte for byte; false if none does.
bool RemoveFirstMatchingAccount(AccountState& state, const AccountEntry& entry);

}  // namespace fernwick
