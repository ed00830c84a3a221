#pragma once
// The DPI a window is shown at: its monitor's under per-monitor awareness, else the system's.
#include <windows.h>

namespace fernwick {

// GetDpiForWindow where the system has it (Windows 10 1607 and later); before that, the
// screen's LOGPIXELSX, which is the DPI of every window of a system-aware program.
int WindowDpi(HWND window) noexcept;

}  // namespace fernwick
