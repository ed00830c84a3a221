#pragma once
// Reading whole texts out of controls, however long, so that no double-byte character is cut.
#include <windows.h>

#include <string>

namespace fernwick {

std::string WindowText(HWND window);
// The text of item `index` of a combo box; empty when there is none.
std::string ComboItemText(HWND combo, int index);

}  // namespace fernwick
