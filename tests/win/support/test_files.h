#pragma once
// Files and folders the tests make and throw away. Paths are wide, as the program's are; the
// narrow forms are for the tests' own ASCII names.
#include <string>

namespace fernwick::test {

// The whole file, or "<missing>" when it cannot be opened.
std::string ReadBytes(const std::wstring& path);
// Creates or replaces the file; true when every byte was written.
bool WriteBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
bool FileExists(const std::string& path);

// A fresh, empty directory under the temporary directory (with a trailing backslash).
std::wstring FreshDirectory(const std::wstring& name);
// Removes a test's folder entirely, read-only files included (the program's
// DeleteDirectoryTree leaves those where they are, and some tests make them).
void RemoveDirectoryTree(const std::wstring& path);

}  // namespace fernwick::test
