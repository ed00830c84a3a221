#pragma once
// A counted set of file paths compared as Windows compares file names: without regard to case,
// by the system's own upper-casing table, not by the rules of the user's language. C:\A.JPG and
// c:\a.jpg name one file, so they are one entry; "ß" and "SS" stay two, as they do on disk.
// Membership costs the same however many paths it holds.
#include <cstddef>
#include <string>
#include <unordered_map>

namespace fernwick {

class FileNameSet {
 public:
  bool Contains(const std::wstring& path) const;
  // Counts the path in; true when it was not there before.
  bool Insert(const std::wstring& path);
  // Counts one of the path out; it leaves the set when no other counted one remains.
  void Erase(const std::wstring& path);
  void Clear() noexcept { counts_.clear(); }
  std::size_t size() const noexcept { return counts_.size(); }

  // The form two paths share exactly when Windows takes them for the same name.
  static std::wstring KeyOf(const std::wstring& path);

 private:
  std::unordered_map<std::wstring, std::size_t> counts_;
};

}  // namespace fernwick
