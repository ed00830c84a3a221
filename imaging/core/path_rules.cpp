#include "imaging/core/path_rules.h"

#include <array>
#include <cstring>

#include "base/core/ansi_text.h"

namespace fernwick {

std::ptrdiff_t FindLastCharacter(std::string_view path, char c) noexcept {
  std::ptrdiff_t found = -1;
  for (std::size_t i = 0; i < path.size();) {
    const auto byte = static_cast<unsigned char>(path[i]);
    if (IsCp936LeadByte(byte) && i + 1 < path.size()) {
      i += 2;
      continue;
    }
    if (path[i] == c) found = static_cast<std::ptrdiff_t>(i);
    ++i;
  }
  return found;
}

std::string PhotoTitle(std::string_view path) {
  const std::ptrdiff_t slash = FindLastCharacter(path, '\\');
  const std::ptrdiff_t dot = FindLastCharacter(path, '.');
  const std::ptrdiff_t count = dot - slash - 1;
  if (count <= 0) return {};
  const auto start = static_cast<std::size_t>(slash + 1);
  if (start >= path.size()) return {};
  return std::string(path.substr(start, static_cast<std::size_t>(count)));
}

std::string ExtensionOf(std::string_view path) {
  const std::ptrdiff_t dot = FindLastCharacter(path, '.');
  if (dot < 0) return std::string(path);
  return std::string(path.substr(static_cast<std::size_t>(dot) + 1));
}

std::string LowerCase936(std::string_view text) {
  std::string lower(text);
  for (std::size_t i = 0; i < lower.size();) {
    const auto byte = static_cast<unsigned char>(lower[i]);
    if (IsCp936LeadByte(byte) && i + 1 < lower.size()) {
      i += 2;
      continue;
    }
    if (byte >= 'A' && byte <= 'Z') lower[i] = static_cast<char>(byte - 'A' + 'a');
    ++i;
  }
  return lower;
}

namespace {
template <std::size_t N>
bool IsOneOf(std::string_view extension, const std::array<std::string_view, N>& list) noexcept {
  for (std::string_view candidate : list) {
    if (extension == candidate) return true;
  }
  return false;
}
}  // namespace

bool IsConvertedExtension(std::string_view lowerExtension) noexcept {
  static constexpr std::array<std::string_view, 5> kConverted{"bmp", "gif", "png", "tif", "tiff"};
  return IsOneOf(lowerExtension, kConverted);
}

bool IsDropExtension(std::string_view lowerExtension) noexcept {
  static constexpr std::array<std::string_view, 7> kDropped{"bmp", "jpg", "jpeg", "gif", "png", "tif", "tiff"};
  return IsOneOf(lowerExtension, kDropped);
}

std::string JoinDirectoryAndName(std::string_view directory, std::string_view name) {
  std::string path(directory);
  const bool endsWithSeparator =
      !directory.empty() && FindLastCharacter(directory, '\\') == static_cast<std::ptrdiff_t>(directory.size()) - 1;
  if (!endsWithSeparator) path += '\\';
  path += name;
  return path;
}

std::vector<std::string> SplitOpenFileResult(const char* buffer, std::size_t size) {
  std::vector<std::string> paths;
  if (!buffer || size == 0) return paths;
  // A string that runs into the end of the buffer was cut: it names no file.
  auto next = [&](std::size_t& at, std::string_view& text) -> bool {
    const std::size_t start = at;
    while (at < size && buffer[at] != '\0') ++at;
    if (at >= size) return false;
    text = std::string_view(buffer + start, at - start);
    ++at;
    return true;
  };
  std::size_t at = 0;
  std::string_view directory;
  if (!next(at, directory) || directory.empty()) return paths;
  std::string_view name;
  while (next(at, name)) {
    if (name.empty()) break;
    paths.push_back(JoinDirectoryAndName(directory, name));
  }
  if (paths.empty()) paths.emplace_back(directory);
  return paths;
}

}  // namespace fernwick
