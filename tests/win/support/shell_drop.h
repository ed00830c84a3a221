#pragma once
// A drop as the shell makes it, for sending WM_DROPFILES to a window.
#include <windows.h>

#include <string>
#include <vector>

namespace fernwick::test {

// DROPFILES followed by the names, UTF-16, double-terminated; the receiver releases it.
HDROP MakeDrop(const std::vector<std::wstring>& names);

}  // namespace fernwick::test
