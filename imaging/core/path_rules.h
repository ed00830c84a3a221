#pragma once
// The rules that take a photo's title and extension from its path, and that turn the open
// dialog's result into paths. Paths are 8-bit strings in code page 936: a trail byte of a
// double-byte character may be 0x5C ('\') and must never be taken for a separator.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick {

// Position of the last single-byte character `c` (never a trail byte), or -1.
std::ptrdiff_t FindLastCharacter(std::string_view path, char c) noexcept;

// The part between the last '\' and the last '.'; empty when the '.' comes first.
std::string PhotoTitle(std::string_view path);

// The characters after the last '.', or the whole path when there is none; not lower-cased.
std::string ExtensionOf(std::string_view path);

// Lower-cases the ASCII letters of a code page 936 string, leaving double-byte characters
// alone (the effect CharLowerA has on the extensions compared below).
std::string LowerCase936(std::string_view text);

// Extensions (lower-cased) whose pictures within the limit get a same-size JPEG copy.
bool IsConvertedExtension(std::string_view lowerExtension) noexcept;
// Extensions (lower-cased) that dropped files must have to be added. No "jpe" here.
bool IsDropExtension(std::string_view lowerExtension) noexcept;

// dir + "\" (unless its last character already is one) + name.
std::string JoinDirectoryAndName(std::string_view directory, std::string_view name);

// The paths in a multiple-selection open dialog's result: the directory, then the names,
// each zero-terminated, ending at an empty string; a single choice is the path itself.
// Never reads past `size` bytes, even when the terminators are missing.
std::vector<std::string> SplitOpenFileResult(const char* buffer, std::size_t size);

}  // namespace fernwick
