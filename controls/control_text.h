#pragma once
// Reading whole texts out of controls, however long.
#include <windows.h>

#include <string>

namespace fernwick {

std::wstring WindowText(HWND window);
// The text of item `index` of a combo box; empty when there is none.
std::wstring ComboItemText(HWND combo, int index);

}  // namespace fernwick
