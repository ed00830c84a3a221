#pragma once
// Text helpers for the web pages, which are served in GBK (the client's code page 936).
#include <string>
#include <string_view>

namespace refserver {

// UTF-8 to GBK; characters GBK lacks become '?'.
std::string ToGbk(std::string_view utf8);
// GBK to UTF-8, for logs and tests.
std::string FromGbk(std::string_view gbk);
// Escapes & < > " ' for HTML. Safe on GBK bytes: no trail byte is one of these.
std::string HtmlEscape(std::string_view text);
// Decodes %XX and '+' of a form value, giving the bytes the browser sent.
std::string FormDecode(std::string_view text);
// A named value of an application/x-www-form-urlencoded text or query, decoded; empty if absent.
std::string FormValue(std::string_view form, std::string_view name);

// Accumulates a page in GBK: Text() takes UTF-8 source text, Value() takes bytes from the
// data (already GBK) and escapes them.
class GbkPage {
 public:
  GbkPage& Text(std::string_view utf8) {
    html_ += ToGbk(utf8);
    return *this;
  }
  GbkPage& Value(std::string_view gbk) {
    html_ += HtmlEscape(gbk);
    return *this;
  }
  GbkPage& Number(long long n) {
    html_ += std::to_string(n);
    return *this;
  }
  const std::string& html() const { return html_; }

 private:
  std::string html_;
};

}  // namespace refserver
