#pragma once
// The rules that take a photo's title and extension from its path, and that turn the open
// dialog's result into paths. Paths are UTF-16 (wchar_t), as the wide file functions take
// them; in UTF-16 no unit of another character can be taken for a '\' or a '.'.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick {

// The part between the last '\' and the last '.'; empty when the '.' comes first.
std::wstring PhotoTitle(std::wstring_view path);

// The characters after the last '.', or the whole path when there is none; not lower-cased.
std::wstring ExtensionOf(std::wstring_view path);

// Lower-cases the ASCII letters and leaves every other character alone: the extensions
// compared below are ASCII, and the comparison must not depend on the system's language.
std::wstring LowerCaseAscii(std::wstring_view text);

// Extensions (lower-cased) whose pictures within the limit get a same-size JPEG copy.
bool IsConvertedExtension(std::wstring_view lowerExtension) noexcept;
// Extensions (lower-cased) that dropped files must have to be added. No "jpe" here.
bool IsDropExtension(std::wstring_view lowerExtension) noexcept;
// Extensions (lower-cased) the open dialog shows, and a folder's walk takes: "jpe" too.
bool IsOpenDialogExtension(std::wstring_view lowerExtension) noexcept;

// dir + "\" (unless its last character already is one) + name.
std::wstring JoinDirectoryAndName(std::wstring_view directory, std::wstring_view name);

// The paths in a multiple-selection open dialog's result: the directory, then the names,
// each zero-terminated, ending at an empty string; a single choice is the path itself.
// Never reads past `size` characters, even when the terminators are missing.
std::vector<std::wstring> SplitOpenFileResult(const wchar_t* buffer, std::size_t size);

}  // namespace fernwick
