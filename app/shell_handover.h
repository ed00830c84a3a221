#pragma once
// Paths the shell hands the program: its command line (Send To, the pictures' context verb, a
// shortcut), and a second start's, passed to the window already running.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace fernwick {

// The command line's arguments after the program's own name, as given.
std::vector<std::wstring> CommandLinePaths();

// Hands `paths` to the running main window `window` (WM_COPYDATA) and waits, at most a few
// seconds, for it to take them. False when it did not.
bool HandPathsTo(HWND window, const std::vector<std::wstring>& paths);

// The paths a WM_COPYDATA from HandPathsTo carries; none for any other data.
std::optional<std::vector<std::wstring>> HandedPaths(const COPYDATASTRUCT& data);

}  // namespace fernwick
