#pragma once
// The journal's form of the user's texts (tags, file paths): UTF-8, stretched to carry what
// UTF-16 on Windows may hold and UTF-8 cannot, a surrogate without its pair (a file name may
// have one). Such a surrogate is written as its own three-byte sequence, as WTF-8 does, so a
// path reads back to the very file it named; every other text is plain UTF-8, and so is every
// journal written before.
#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace fernwick {

std::string JournalBytesFromUtf16(std::u16string_view text);
// Bytes that are no UTF-8 sequence read as U+FFFD, one for each byte.
std::u16string Utf16FromJournalBytes(std::string_view bytes);

// A text escaped to stay on its line (\\, \n, \r, \t, and \xHH for the other control
// characters), and back: none for an unknown escape, a lone backslash at the end, or a raw
// control character, which the writer never leaves in a line.
std::string EscapeJournalText(std::string_view text);
std::optional<std::string> UnescapeJournalText(std::string_view text);

// A whole word as a number, none for anything else (a sign where none is wanted, trailing text).
template <class Number>
std::optional<Number> NumberOf(std::string_view word, int base = 10) {
  Number value{};
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
  if (word.empty() || error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

// The text up to the next blank, and `rest` moved past that blank.
std::string_view NextWord(std::string_view& rest);

}  // namespace fernwick
