#pragma once
// The program runs once: a second start brings the running one forward instead.
#include <windows.h>

#include "base/handles.h"

namespace fernwick {

// The main window's caption.
inline constexpr wchar_t kMainWindowCaption[] = L"Fernwick";

// Marks `window` as the program's main window (at its creation), so that FindRunningMainWindow
// finds it; UnmarkMainWindow removes the mark as it goes.
void MarkMainWindow(HWND window);
void UnmarkMainWindow(HWND window);

// The main window of a running instance, or none. The caption alone is not enough: an Explorer
// window showing a folder named "Fernwick" has it too. Only a dialog window with the caption and
// the mark is ours.
HWND FindRunningMainWindow();

// Whether another instance runs or is starting: each start takes a named mutex into `claim`,
// which the first one holds for its whole life. The shell starts one process per photo for a
// context-menu verb on a selection; all but the first wait for its window (WaitForMainWindow)
// instead of each opening a window of its own.
bool AnotherInstanceStarted(UniqueHandle& claim);
// The running main window, waited for at most `limitMs` while it is being made; none after.
HWND WaitForMainWindow(DWORD limitMs);

// When FindRunningMainWindow finds one: restores it if it is minimised, brings its last active
// popup (an open dialog, say) to the foreground and returns true.
bool ActivateRunningInstance();

}  // namespace fernwick
