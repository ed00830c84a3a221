#pragma once
// The program keeps its text in UTF-16. The service and the settings file were written for a
// Chinese Windows and take code page 936 bytes, whatever the system's own ANSI code page is;
// these are the only conversions between the two, always through code page 936 explicitly.
#include <optional>
#include <string>
#include <string_view>

namespace fernwick {

inline constexpr unsigned kServiceCodePage = 936;

// Code page 936 bytes as UTF-16. Bytes that are no character there come out as U+FFFD-like
// replacements, as Windows decides; never fails.
std::wstring WideFrom936(std::string_view bytes);

// UTF-16 text as code page 936 bytes; a character code page 936 cannot hold becomes "?".
std::string To936Lossy(std::wstring_view text);

// UTF-16 text as code page 936 bytes, or nothing when a character has no exact code page 936
// form (a user name or password with it could never match what the service knows).
std::optional<std::string> To936Exact(std::wstring_view text);

// UTF-16 text as UTF-8 (the log, and the program's own files that are not the service's).
std::string Utf8FromWide(std::wstring_view text);
std::wstring WideFromUtf8(std::string_view bytes);

}  // namespace fernwick
