#pragma once
// The messages the account code and the upload batch show about a sign-in, each written once.
// Portable.
#include <string>

#include "base/core/notice_caption.h"
#include "service/core/result_codes.h"

namespace fernwick {

// The server could not be reached or gave no usable answer (result -2).
inline constexpr wchar_t kNoConnectionText[] = L"不能连接服务器,请检查网络.";
// The server refused the user name or the password (result -1).
inline constexpr wchar_t kWrongPasswordText[] = L"用户名或密码错误.";
// A user name or password with a character the service's code page 936 cannot hold.
inline constexpr wchar_t kUnusableCharacterText[] = L"用户名或密码含有不能使用的字符.";
// The credential store refused a password: the account works until the program ends.
inline constexpr wchar_t kPasswordNotKeptText[] = L"密码未能保存到 Windows 凭据管理器，下次启动需要重新登录。";

// The quota line under the grid: "使用了<percent>%的本月上传空间".
inline std::wstring QuotaText(int percent) { return L"使用了" + std::to_wstring(percent) + L"%的本月上传空间"; }

// The message for a sign-in that did not succeed: refused, or anything else as no connection.
constexpr const wchar_t* SignInFailureText(int result) {
  return result == kResultRefused ? kWrongPasswordText : kNoConnectionText;
}

}  // namespace fernwick
