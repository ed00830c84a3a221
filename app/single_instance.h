#pragma once
// The program runs once: a second start brings the running one forward instead.
#include <windows.h>

namespace fernwick {

// The main window's caption, by which a running instance is found.
inline constexpr wchar_t kMainWindowCaption[] = L"Fernwick";

// When a top-level window titled kMainWindowCaption exists: restores it if it is minimised,
// brings its last active popup (an open dialog, say) to the foreground and returns true.
bool ActivateRunningInstance();

}  // namespace fernwick
