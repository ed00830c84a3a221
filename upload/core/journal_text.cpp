#include "upload/core/journal_text.h"

namespace fernwick {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

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

std::string EscapeJournalText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          out += "\\x";
          out += kHexDigits[static_cast<unsigned char>(c) >> 4];
          out += kHexDigits[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::optional<std::string> UnescapeJournalText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++at == text.size()) return std::nullopt;
    switch (text[at]) {
      case '\\':
        out += '\\';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'x': {
        const std::string_view digits = text.substr(at + 1, 2);
        const std::optional<unsigned> value = digits.size() == 2 ? NumberOf<unsigned>(digits, 16) : std::nullopt;
        if (!value) return std::nullopt;
        out += static_cast<char>(*value);
        at += 2;
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return out;
}

std::string_view NextWord(std::string_view& rest) {
  const size_t blank = rest.find(' ');
  const std::string_view word = rest.substr(0, blank);
  rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
  return word;
}

}  // namespace fernwick
