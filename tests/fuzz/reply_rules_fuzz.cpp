// Any bytes a server might send: the rules must never read outside the reply, and what they
// return must lie inside it where they say it does.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "service/core/reply_rules.h"

using namespace fernwick;

namespace {
void Check(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // First byte picks the length of the key taken from the tail of the input.
  const size_t keyLength = data[0] % 12;
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string_view key = rest.substr(0, std::min(keyLength, rest.size()));
  const std::string_view reply = rest.substr(key.size());

  const std::string status = ReplyStatus(reply);
  if (!status.empty()) Check(reply.find("userauth stat='" + status + "'") != std::string_view::npos);
  Check(status.find('\'') == std::string::npos);

  const std::string element = ElementText(reply, key);
  if (!element.empty()) {
    const std::string open = "<" + std::string(key) + ">";
    Check(reply.find(open) != std::string_view::npos);
    Check(reply.substr(reply.find(open) + open.size(), element.size()) == element);
  }

  const std::string attribute = AttributeValue(reply, key);
  Check(attribute.find('\'') == std::string::npos);
  Check(attribute.size() <= reply.size());

  const int32_t number = ReplyNumber(reply);
  const long long expected = std::strtoll(std::string(reply).c_str(), nullptr, 10);
  // Equal within 32 bits, as long as the text has no embedded zero byte strtoll stops at.
  if (reply.find('\0') == std::string_view::npos) {
    const long long held = expected < INT32_MIN ? INT32_MIN : expected > INT32_MAX ? INT32_MAX : expected;
    Check(number == held);
  }
  return 0;
}
