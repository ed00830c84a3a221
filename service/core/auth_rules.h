#pragma once
// The portable parts of the authentication requests: their object paths and the usage
// percentage of the sign-in check.
#include <cstdint>
#include <string>
#include <string_view>

namespace fernwick {

// "/upload/auth.aspx?username=%s&password=%s", both inserted byte for byte: the server
// expects them unescaped, so a password holding "&" or "=" travels as it is.
std::string PasswordAuthPath(std::string_view userName, std::string_view password);
// "/upload/auth.aspx?authstr=%s".
std::string TokenAuthPath(std::string_view authstr);

// 0..100: 0 for no quota, 100 when nothing is left, else (used / limit) x 100 with the
// quotient taken as a double first and the product truncated (29 of 100 gives 28).
int UsagePercent(int32_t limit, int32_t used);

}  // namespace fernwick
