#pragma once
// The two steps every tooltip of the program is made with: create the tooltip window for a
// control, then register the control as a tool with its text.
#include <windows.h>

#include "base/handles.h"

namespace fernwick {

// A "tooltips_class32" window with `parent` as its owner: no text, style 0, default position
// and size. Null when it cannot be created (the control then simply has no tooltip).
UniqueWindow CreateTooltipWindow(HWND parent);

// Registers `tool` (identified by its handle, owned by its parent) with the tooltip.
bool AddTool(HWND tooltip, HWND tool, const wchar_t* text);
// Removes `tool` from the tooltip; nothing happens when it was not registered.
void RemoveTool(HWND tooltip, HWND tool);
// A tool for the rectangle `area` of `window`'s client area, known to the tooltip as `id`.
// An empty rectangle puts the tool nowhere: the tip then never appears for it.
bool AddAreaTool(HWND tooltip, HWND window, UINT_PTR id, const RECT& area, const wchar_t* text);
// Moves the area tool and, unless `text` is null, gives it that text.
void SetAreaTool(HWND tooltip, HWND window, UINT_PTR id, const RECT& area, const wchar_t* text);
// An inactive tooltip never appears, whatever is relayed to it.
void ActivateTooltip(HWND tooltip, bool active);

// Hands a mouse message of `window` to the tooltip so it can decide to appear.
void RelayToTooltip(HWND tooltip, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace fernwick
