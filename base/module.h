#pragma once
#include <windows.h>

namespace fernwick {

// The module that holds the program's resources (dialog templates, bitmaps, icon). The
// program and the test programs link the same resources into their own executable.
inline HINSTANCE ModuleInstance() noexcept { return ::GetModuleHandleW(nullptr); }

}  // namespace fernwick
