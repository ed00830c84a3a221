#include "controls/tooltip.h"

#include <commctrl.h>

#include "base/module.h"

namespace fernwick {

namespace {
// The tool record up to and including lParam. comctl32 accepts this size in every version;
// the full structure of version 6 is refused by older libraries.
TOOLINFOA ToolFor(HWND tool, const char* text) {
  TOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.uFlags = TTF_IDISHWND;
  info.hwnd = ::GetParent(tool);
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.hinst = ModuleInstance();
  info.lpszText = const_cast<char*>(text);
  return info;
}

TOOLINFOA AreaTool(HWND window, UINT_PTR id, const char* text) {
  TOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.hwnd = window;
  info.uId = id;
  info.hinst = ModuleInstance();
  info.lpszText = const_cast<char*>(text);
  return info;
}
}  // namespace

UniqueWindow CreateTooltipWindow(HWND parent) {
  return UniqueWindow(::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                        CW_USEDEFAULT, parent, nullptr, ModuleInstance(), nullptr));
}

bool AddTool(HWND tooltip, HWND tool, const char* text) {
  if (!tooltip || !tool) return false;
  TOOLINFOA info = ToolFor(tool, text);
  return ::SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void RemoveTool(HWND tooltip, HWND tool) {
  if (!tooltip || !tool) return;
  TOOLINFOA info = ToolFor(tool, nullptr);
  ::SendMessageA(tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

bool AddAreaTool(HWND tooltip, HWND window, UINT_PTR id, const RECT& area, const char* text) {
  if (!tooltip || !window) return false;
  TOOLINFOA info = AreaTool(window, id, text);
  info.rect = area;
  return ::SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void SetAreaTool(HWND tooltip, HWND window, UINT_PTR id, const RECT& area, const char* text) {
  if (!tooltip || !window) return;
  TOOLINFOA info = AreaTool(window, id, text);
  info.rect = area;
  ::SendMessageA(tooltip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
  if (text) ::SendMessageA(tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void ActivateTooltip(HWND tooltip, bool active) {
  if (tooltip) ::SendMessageA(tooltip, TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}

void RelayToTooltip(HWND tooltip, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!tooltip) return;
  MSG record{window, message, wParam, lParam, 0, {0, 0}};
  ::SendMessageA(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&record));
}

}  // namespace fernwick
