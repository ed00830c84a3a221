#pragma once
// Screenshots of a window for the eye, taken by tests that show the program.
#include <windows.h>

#include <string>

namespace fernwick::test {

// Saves what the screen shows of `window` as a PNG; false when it could not.
bool SaveScreenshot(HWND window, const std::wstring& path);

}  // namespace fernwick::test
