#include "controls/core/link_text.h"

#include "base/core/ansi_text.h"

namespace fernwick {

namespace {
// `tag` is lower-case ASCII; only ASCII letters of the caption are folded, so no other
// character can be taken for part of a tag.
std::size_t FindTagNoCase(std::wstring_view caption, std::wstring_view tag, std::size_t from = 0) {
  for (std::size_t at = from; at + tag.size() <= caption.size(); ++at) {
    std::size_t i = 0;
    for (; i < tag.size(); ++i) {
      wchar_t c = caption[at + i];
      if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
      if (c != tag[i]) break;
    }
    if (i == tag.size()) return at;
  }
  return std::wstring_view::npos;
}
}  // namespace

std::optional<uint32_t> ParseColourText(std::string_view text) {
  constexpr std::size_t npos = std::string_view::npos;
  const std::size_t first = FindCp936Char(text, ',');
  if (first == npos) return std::nullopt;
  const std::size_t second = FindCp936Char(text, ',', first + 1);
  if (second == npos || second + 1 >= text.size()) return std::nullopt;
  const int red = AtoiRules(text.substr(0, first));
  const int green = AtoiRules(text.substr(first + 1, second - first - 1));
  const int blue = AtoiRules(text.substr(second + 1));
  if (red == -1 || green == -1) return std::nullopt;
  auto low8 = [](int v) { return static_cast<uint32_t>(v) & 0xFFu; };
  return low8(red) | (low8(green) << 8) | (low8(blue) << 16);
}

std::optional<uint32_t> ParseColourValue(const unsigned char* data, std::size_t size) {
  if (!data || size == 0 || size > 12 || data[size - 1] != 0) return std::nullopt;
  std::string_view text(reinterpret_cast<const char*>(data), size - 1);
  if (const std::size_t zero = text.find('\0'); zero != std::string_view::npos) text = text.substr(0, zero);
  return ParseColourText(text);
}

LinkMarkup ParseLinkMarkup(std::wstring_view caption) {
  LinkMarkup markup;
  const std::size_t open = FindTagNoCase(caption, L"<a>");
  if (open == std::wstring_view::npos) return markup;
  markup.hasLink = true;
  markup.prefix = std::wstring(caption.substr(0, open));
  const std::size_t linkStart = open + 3;
  const std::size_t close = FindTagNoCase(caption, L"</a>", linkStart);
  if (close == std::wstring_view::npos) return markup;
  markup.link = std::wstring(caption.substr(linkStart, close - linkStart));
  markup.suffix = std::wstring(caption.substr(close + 4));
  return markup;
}

}  // namespace fernwick
