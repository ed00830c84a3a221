#include "imaging/core/path_rules.h"

#include <array>

namespace fernwick {

namespace {

std::ptrdiff_t FindLast(std::wstring_view path, wchar_t c) noexcept {
  const std::size_t at = path.rfind(c);
  return at == std::wstring_view::npos ? -1 : static_cast<std::ptrdiff_t>(at);
}

template <std::size_t N>
bool IsOneOf(std::wstring_view extension, const std::array<std::wstring_view, N>& list) noexcept {
  for (std::wstring_view candidate : list) {
    if (extension == candidate) return true;
  }
  return false;
}

}  // namespace

std::wstring PhotoTitle(std::wstring_view path) {
  const std::ptrdiff_t slash = FindLast(path, L'\\');
  const std::ptrdiff_t dot = FindLast(path, L'.');
  const std::ptrdiff_t count = dot - slash - 1;
  if (count <= 0) return {};
  const auto start = static_cast<std::size_t>(slash + 1);
  if (start >= path.size()) return {};
  return std::wstring(path.substr(start, static_cast<std::size_t>(count)));
}

std::wstring ExtensionOf(std::wstring_view path) {
  const std::ptrdiff_t dot = FindLast(path, L'.');
  if (dot < 0) return std::wstring(path);
  return std::wstring(path.substr(static_cast<std::size_t>(dot) + 1));
}

std::wstring LowerCaseAscii(std::wstring_view text) {
  std::wstring lower(text);
  for (wchar_t& c : lower) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return lower;
}

bool IsConvertedExtension(std::wstring_view lowerExtension) noexcept {
  static constexpr std::array<std::wstring_view, 5> kConverted{L"bmp", L"gif", L"png", L"tif", L"tiff"};
  return IsOneOf(lowerExtension, kConverted);
}

bool IsDropExtension(std::wstring_view lowerExtension) noexcept {
  static constexpr std::array<std::wstring_view, 11> kDropped{L"bmp",  L"jpg",  L"jpeg", L"gif", L"png", L"tif",
                                                              L"tiff", L"heic", L"heif", L"hif", L"webp"};
  return IsOneOf(lowerExtension, kDropped);
}

bool IsOpenDialogExtension(std::wstring_view lowerExtension) noexcept {
  return lowerExtension == L"jpe" || IsDropExtension(lowerExtension);
}

std::wstring JoinDirectoryAndName(std::wstring_view directory, std::wstring_view name) {
  std::wstring path(directory);
  if (directory.empty() || directory.back() != L'\\') path += L'\\';
  path += name;
  return path;
}

std::vector<std::wstring> SplitOpenFileResult(const wchar_t* buffer, std::size_t size) {
  std::vector<std::wstring> paths;
  if (!buffer || size == 0) return paths;
  // A string that runs into the end of the buffer was cut: it names no file.
  auto next = [&](std::size_t& at, std::wstring_view& text) -> bool {
    const std::size_t start = at;
    while (at < size && buffer[at] != L'\0') ++at;
    if (at >= size) return false;
    text = std::wstring_view(buffer + start, at - start);
    ++at;
    return true;
  };
  std::size_t at = 0;
  std::wstring_view directory;
  if (!next(at, directory) || directory.empty()) return paths;
  std::wstring_view name;
  while (next(at, name)) {
    if (name.empty()) break;
    paths.push_back(JoinDirectoryAndName(directory, name));
  }
  if (paths.empty()) paths.emplace_back(directory);
  return paths;
}

}  // namespace fernwick
