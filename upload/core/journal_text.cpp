#include "upload/core/journal_text.h"

namespace fernwick {

namespace {

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendCodePoint(std::string& out, char32_t point) {
  if (point < 0x80) {
    out += static_cast<char>(point);
  } else if (point < 0x800) {
    out += static_cast<char>(0xC0 | (point >> 6));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    out += static_cast<char>(0xE0 | (point >> 12));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (point >> 18));
    out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  }
}

void AppendUnit(std::u16string& out, char32_t point) {
  if (point < 0x10000) {
    out += static_cast<char16_t>(point);
    return;
  }
  point -= 0x10000;
  out += static_cast<char16_t>(0xD800 + (point >> 10));
  out += static_cast<char16_t>(0xDC00 + (point & 0x3FF));
}

}  // namespace

std::string JournalBytesFromUtf16(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size(); ++at) {
    const char32_t unit = text[at];
    if (IsHighSurrogate(unit) && at + 1 < text.size() && IsLowSurrogate(text[at + 1])) {
      AppendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (text[++at] - 0xDC00));
    } else {
      AppendCodePoint(out, unit);  // a lone surrogate too, as its own three bytes
    }
  }
  return out;
}

std::u16string Utf16FromJournalBytes(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (size_t at = 0; at < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    const size_t length = lead < 0x80           ? 1
                          : (lead >> 5) == 0x6  ? 2
                          : (lead >> 4) == 0xE  ? 3
                          : (lead >> 3) == 0x1E ? 4
                                                : 0;
    char32_t point = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    bool whole = length != 0 && at + length <= bytes.size();
    for (size_t next = 1; whole && next < length; ++next) {
      const auto trail = static_cast<unsigned char>(bytes[at + next]);
      whole = (trail & 0xC0) == 0x80;
      point = (point << 6) | (trail & 0x3F);
    }
    // The shortest form only, and nothing past the last code point.
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (!whole || point < kLeast[length] || point > 0x10FFFF) {
      out += u'\uFFFD';
      ++at;
      continue;
    }
    AppendUnit(out, point);
    at += length;
  }
  return out;
}

}  // namespace fernwick
