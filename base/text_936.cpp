#include "base/text_936.h"

#include <windows.h>

#include <climits>

namespace fernwick {
namespace {

std::wstring ToWide(unsigned codePage, std::string_view bytes) {
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) return std::wstring();
  const int size = static_cast<int>(bytes.size());
  const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
  return wide;
}

// `usedDefault` is only asked for where Windows allows it (not for UTF-8).
std::string FromWide(unsigned codePage, std::wstring_view text, BOOL* usedDefault) {
  if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return std::string();
  const int size = static_cast<int>(text.size());
  const char* fallback = usedDefault ? "?" : nullptr;
  const int length = ::WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, fallback, usedDefault);
  if (length <= 0) return std::string();
  std::string bytes(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(codePage, 0, text.data(), size, bytes.data(), length, fallback, usedDefault);
  return bytes;
}

}  // namespace

std::wstring WideFrom936(std::string_view bytes) { return ToWide(kServiceCodePage, bytes); }

std::string To936Lossy(std::wstring_view text) {
  // Code page 936 has no character outside the basic plane, and Windows would give a "?" for
  // each half of a surrogate pair: one character, one "?".
  std::wstring single;
  single.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool pair = IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1]);
    single.push_back(pair ? L'?' : text[i]);
    if (pair) ++i;
  }
  BOOL usedDefault = FALSE;
  return FromWide(kServiceCodePage, single, &usedDefault);
}

std::optional<std::string> To936Exact(std::wstring_view text) {
  BOOL usedDefault = FALSE;
  std::string bytes = FromWide(kServiceCodePage, text, &usedDefault);
  // A best-fit mapping (a full-width letter to its ASCII one) is no exact form either.
  if (usedDefault || WideFrom936(bytes) != text) return std::nullopt;
  return bytes;
}

std::string Utf8FromWide(std::wstring_view text) { return FromWide(CP_UTF8, text, nullptr); }

std::wstring WideFromUtf8(std::string_view bytes) { return ToWide(CP_UTF8, bytes); }

}  // namespace fernwick
