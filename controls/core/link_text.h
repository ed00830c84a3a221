#pragma once
// The text rules of the link controls: the browser's colour settings and the "<A>" markup of
// a caption. Portable, tested natively.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fernwick {

// "r,g,b" in decimal, red first, each reduced to its low 8 bits; packed like COLORREF
// (red in the low byte). Nothing when the text is not a colour.
std::optional<uint32_t> ParseColourText(std::string_view text);

// A registry value's raw data: at most 12 bytes with its terminating zero, which must be the
// last byte. Nothing when malformed or not a colour.
std::optional<uint32_t> ParseColourValue(const unsigned char* data, std::size_t size);

struct LinkMarkup {
  bool hasLink = false;  // "<A>" was found
  std::wstring prefix;
  std::wstring link;
  std::wstring suffix;
};

// The part between the first "<A>" and the first "</A>" after it (tags in any letter case).
LinkMarkup ParseLinkMarkup(std::wstring_view caption);

}  // namespace fernwick
