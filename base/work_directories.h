#pragma once
// The two work directories under %LOCALAPPDATA%\Fernwick that hold the JPEG working copies.
// They exist from the main window's initialisation to its destruction.
#include <string>

namespace fernwick {

// "%s\qvpicsendtmp\" (scaled copies) and "%s\qvpicsendsnd\" (rotated copies), with the
// local program folder (base/user_folders.h) for %s; both end with a backslash. Empty when
// that folder is unavailable.
std::wstring ScaledCopiesDirectory();
std::wstring RotatedCopiesDirectory();

// Creates both (and the program folder above them); one that already exists (after a crash,
// say) is reused with what it holds. Failures are silent and logged (docs/errors.md).
void CreateWorkDirectories();
// DeleteDirectoryTree on the scaled copies, then on the rotated copies (none when unavailable).
void RemoveWorkDirectories();

// Removes `path` (with or without a trailing backslash) with every file and subdirectory in
// it. Files that cannot be deleted (in use, read-only) stay, and so do the directories that
// hold them. A directory link (junction or symbolic link) met on the way, or given as
// `path`, is removed itself and never entered: what it points to is not ours to delete.
void DeleteDirectoryTree(const std::wstring& path);

}  // namespace fernwick
