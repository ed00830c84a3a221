#pragma once
// Scanning 8-bit text in code page 936 the way the system's multi-byte aware functions do:
// a lead byte (0x81..0xFE) and the byte after it are one character and are stepped over as a
// whole, so a search never matches the second half of a double-byte character.
#include <cstddef>
#include <string_view>

namespace fernwick {

constexpr bool IsCp936LeadByte(unsigned char c) noexcept { return c >= 0x81 && c <= 0xFE; }

// Length in bytes of the character that starts at `pos` (1 or 2; 1 at the end of the text).
std::size_t Cp936CharLength(std::string_view text, std::size_t pos) noexcept;

// Position of the first single-byte character `c` at or after `from`, or npos.
std::size_t FindCp936Char(std::string_view text, char c, std::size_t from = 0) noexcept;

// The C library's atoi rules: leading blanks, optional sign, digits up to the first other
// character; 0 when no digit follows. Values beyond the int range saturate.
int AtoiRules(std::string_view text) noexcept;

}  // namespace fernwick
