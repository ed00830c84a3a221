#pragma once
// Directory links for tests of code that must not follow them.
#include <string>

#include "test_files.h"

namespace fernwick::test {

// Makes `link` a directory link to `target` (both Windows paths, `target` existing) and
// returns true when `link` then reports FILE_ATTRIBUTE_REPARSE_POINT. Tries a symbolic link,
// then a junction, then, under Wine (which stubs both), a Unix symbolic link made with
// /bin/ln: Wine shows those as directory reparse points.
bool MakeDirectoryLink(const std::wstring& link, const std::wstring& target);

// Removes a link made by MakeDirectoryLink without touching its target.
void RemoveDirectoryLink(const std::wstring& link);

}  // namespace fernwick::test
