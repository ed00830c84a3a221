#include "base/file_name_set.h"

#include <windows.h>

namespace fernwick {

std::wstring FileNameSet::KeyOf(const std::wstring& path) {
  if (path.empty()) return path;
  // The invariant locale's upper case is the ordinal one that CompareStringOrdinal ignores: a
  // Turkish or Lithuanian user's rules must not make two files one, or one file two.
  const int length = static_cast<int>(path.size());
  std::wstring key(path.size(), L'\0');
  if (::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, path.c_str(), length, key.data(), length, nullptr,
                      nullptr, 0) != length) {
    return path;  // the same length always fits; were it refused, the name is compared as written
  }
  return key;
}

bool FileNameSet::Contains(const std::wstring& path) const { return counts_.contains(KeyOf(path)); }

bool FileNameSet::Insert(const std::wstring& path) { return ++counts_[KeyOf(path)] == 1; }

void FileNameSet::Erase(const std::wstring& path) {
  const auto found = counts_.find(KeyOf(path));
  if (found != counts_.end() && --found->second == 0) counts_.erase(found);
}

}  // namespace fernwick
