#include "base/core/ansi_text.h"

#include <climits>

namespace fernwick {

std::size_t Cp936CharLength(std::string_view text, std::size_t pos) noexcept {
  if (pos + 1 < text.size() && IsCp936LeadByte(static_cast<unsigned char>(text[pos]))) return 2;
  return 1;
}

std::size_t FindCp936Char(std::string_view text, char c, std::size_t from) noexcept {
  for (std::size_t i = from; i < text.size(); i += Cp936CharLength(text, i)) {
    if (text[i] == c) return i;
  }
  return std::string_view::npos;
}

int AtoiRules(std::string_view text) noexcept {
  std::size_t i = 0;
  auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace fernwick
