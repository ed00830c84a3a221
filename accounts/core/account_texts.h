#pragma once
// The messages the account code and the upload batch show about a sign-in, each written once.
// Portable; code page 936 in the program, as MessageBoxA gets them.
#include "service/core/result_codes.h"

namespace fernwick {

// The caption of every message box outside the login dialog (whose caption is empty).
inline constexpr char kNoticeCaption[] = "提示";
// The server could not be reached or gave no usable answer (result -2).
inline constexpr char kNoConnectionText[] = "不能连接服务器,请检查网络.";
// The server refused the user name or the password (result -1).
inline constexpr char kWrongPasswordText[] = "用户名或密码错误.";

// The message for a sign-in that did not succeed: refused, or anything else as no connection.
constexpr const char* SignInFailureText(int result) {
  return result == kResultRefused ? kWrongPasswordText : kNoConnectionText;
}

}  // namespace fernwick
