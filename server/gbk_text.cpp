#include "gbk_text.h"

#include <iconv.h>

#include <cerrno>

namespace refserver {

namespace {

std::string Convert(std::string_view text, const char* to, const char* from) {
  iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(text);
  std::string out;
  std::string input(text);
  char* in = input.data();
  size_t inLeft = input.size();
  char buffer[1024];
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof(buffer);
    const size_t rc = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, sizeof(buffer) - outLeft);
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
      // An unconvertible or broken sequence: one '?' for it, then go on after its first byte.
      out += '?';
      ++in;
      --inLeft;
    }
  }
  ::iconv_close(cd);
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string ToGbk(std::string_view utf8) { return Convert(utf8, "GBK", "UTF-8"); }
std::string FromGbk(std::string_view gbk) { return Convert(gbk, "UTF-8", "GBK"); }

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string FormDecode(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string FormValue(std::string_view form, std::string_view name) {
  size_t start = 0;
  while (start <= form.size()) {
    size_t end = form.find('&', start);
    if (end == std::string_view::npos) end = form.size();
    const std::string_view pair = form.substr(start, end - start);
    const size_t equals = pair.find('=');
    if (pair.substr(0, equals) == name) {
      return equals == std::string_view::npos ? std::string() : FormDecode(pair.substr(equals + 1));
    }
    start = end + 1;
  }
  return {};
}

}  // namespace refserver
