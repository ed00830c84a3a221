#pragma once
// The pictures that paths handed over by the shell name: a drop, the command line, Send To.
#include <string>
#include <vector>

namespace fernwick {

// Each path in its order: a file with a picture extension as a drop takes it (no "jpe"), a
// folder as the pictures in it and in its subfolders. A folder gives its files in name order,
// then its subfolders' in name order, with the open dialog's extensions; hidden and system
// entries are skipped, and a junction or symbolic link to a folder is not followed, so no loop
// can keep the walk going. Anything else (a missing path, a file of another kind) gives nothing.
std::vector<std::wstring> PicturesInPaths(const std::vector<std::wstring>& paths);

}  // namespace fernwick
