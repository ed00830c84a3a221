#pragma once
// Files and folders the tests make and throw away.
#include <string>

namespace fernwick::test {

// The whole file, or "<missing>" when it cannot be opened.
std::string ReadBytes(const std::string& path);
// Creates or replaces the file; true when every byte was written.
bool WriteBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// A fresh, empty directory under the temporary directory (with a trailing backslash).
std::string FreshDirectory(const std::string& name);
// Removes a test's folder entirely, read-only files included (the program's
// DeleteDirectoryTree leaves those where they are, and some tests make them).
void RemoveDirectoryTree(const std::string& path);

}  // namespace fernwick::test
