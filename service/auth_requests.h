#pragma once
// The two authentication requests and the sign-in check.
#include <cstdint>
#include <string>

#include "service/core/result_codes.h"

namespace fernwick {

class ServiceClient;

struct AuthReply {
  std::string stat;
  std::string authstr;
  int32_t limit = 0;  // monthly quota, bytes
  int32_t used = 0;   // used this month, bytes
  std::string blogname;
};

// GET /upload/auth.aspx?username=%s&password=%s with both in code page 936, the service's
// own. Fills authstr, limit, used, blogname on 0. A name or password that code page 936
// cannot hold exactly could never match: -1 at once, nothing sent.
int AuthenticateWithPassword(ServiceClient& client, const std::wstring& userName, const std::wstring& password,
                             AuthReply& reply);
// GET /upload/auth.aspx?authstr=%s. Fills limit, used, blogname on 0; 1 for "0k".
int AuthenticateWithToken(ServiceClient& client, const std::string& authstr, AuthReply& reply);
// Opens its own client, one password request, closes it. On 0 sets authstr, the usage
// percentage (0..100) and blogName; otherwise leaves them alone.
int SignIn(const std::wstring& userName, const std::wstring& password, std::string& authstr, int& percent,
           std::string& blogName);

}  // namespace fernwick
