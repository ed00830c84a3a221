#include "service/core/auth_rules.h"

namespace fernwick {

std::string PasswordAuthPath(std::string_view userName, std::string_view password) {
  std::string path = "/upload/auth.aspx?username=";
  path += userName;
  path += "&password=";
  path += password;
  return path;
}

std::string TokenAuthPath(std::string_view authstr) {
  std::string path = "/upload/auth.aspx?authstr=";
  path += authstr;
  return path;
}

int UsagePercent(int32_t limit, int32_t used) {
  if (limit == 0) return 0;
  if (int64_t{limit} - int64_t{used} <= 0) return 100;
  const double quotient = static_cast<double>(used) / static_cast<double>(limit);
  // A negative figure from a confused server would show as a negative share; none is used.
  const int percent = static_cast<int>(quotient * 100.0);
  return percent < 0 ? 0 : percent;
}

}  // namespace fernwick
