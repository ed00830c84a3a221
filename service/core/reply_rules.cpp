#include "service/core/reply_rules.h"

namespace fernwick {

namespace {

std::string TextUpToQuote(std::string_view reply, std::string_view marker) {
  const size_t start = reply.find(marker);
  if (start == std::string_view::npos) return {};
  const size_t valueStart = start + marker.size();
  const size_t end = reply.find('\'', valueStart);
  if (end == std::string_view::npos) return {};
  return std::string(reply.substr(valueStart, end - valueStart));
}

bool IsCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

std::string ReplyStatus(std::string_view reply) { return TextUpToQuote(reply, "userauth stat='"); }

std::string ElementText(std::string_view reply, std::string_view key) {
  const std::string openTag = "<" + std::string(key) + ">";
  const std::string closeTag = "</" + std::string(key) + ">";
  const size_t open = reply.find(openTag);
  const size_t close = reply.find(closeTag);
  if (open == std::string_view::npos || close == std::string_view::npos) return {};
  const size_t textStart = open + openTag.size();
  if (close < textStart) return {};
  return std::string(reply.substr(textStart, close - textStart));
}

std::string AttributeValue(std::string_view reply, std::string_view key) {
  return TextUpToQuote(reply, std::string(key) + "='");
}

int32_t ReplyNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Like strtol with a 32-bit long, a value out of range is held at the nearest limit.
  constexpr int64_t kCeiling = int64_t{1} << 31;
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kCeiling) value = kCeiling;
  }
  if (negative) return static_cast<int32_t>(-value);
  return static_cast<int32_t>(value >= kCeiling ? kCeiling - 1 : value);
}

}  // namespace fernwick
