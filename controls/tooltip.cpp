#include "controls/tooltip.h"

#include <commctrl.h>

#include "base/module.h"

namespace fernwick {

namespace {
// The tool record up to and including lParam. comctl32 accepts this size in every version;
// the full structure of version 6 is refused by older libraries.
TOOLINFOW ToolFor(HWND tool, const wchar_t* text) {
  TOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_IDISHWND;
  info.hwnd = ::GetParent(tool);
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.hinst = ModuleInstance();
  info.lpszText = const_cast<wchar_t*>(text);
  return info;
}

TOOLINFOW AreaTool(HWND window, UINT_PTR id, const wchar_t* text) {
  TOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = window;
  info.uId = id;
  info.hinst = ModuleInstance();
  info.lpszText = const_cast<wchar_t*>(text);
  return info;
}
}  // namespace

UniqueWindow CreateTooltipWindow(HWND parent) {
  return UniqueWindow(::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                        CW_USEDEFAULT, parent, nullptr, ModuleInstance(), nullptr));
}

bool AddTool(HWND tooltip, HWND tool, const wchar_t* text) {
  if (!tooltip || !tool) return false;
  TOOLINFOW info = ToolFor(tool, text);
  return ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void RemoveTool(HWND tooltip, HWND tool) {
  if (!tooltip || !tool) return;
  TOOLINFOW info = ToolFor(tool, nullptr);
  ::SendMessageW(tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

bool AddAreaTool(HWND tooltip, HWND window, UINT_PTR id, const RECT& area, const wchar_t* text) {
  if (!tooltip || !window) return false;
  TOOLINFOW info = AreaTool(window, id, text);
  info.rect = area;
  return ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void SetAreaTool(HWND tooltip, HWND window, UINT_PTR id, const RECT& area, const wchar_t* text) {
  if (!tooltip || !window) return;
  TOOLINFOW info = AreaTool(window, id, text);
  info.rect = area;
  ::SendMessageW(tooltip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
  if (text) ::SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void ActivateTooltip(HWND tooltip, bool active) {
  if (tooltip) ::SendMessageW(tooltip, TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}

void RelayToTooltip(HWND tooltip, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!tooltip) return;
  MSG record{window, message, wParam, lParam, 0, {0, 0}};
  ::SendMessageW(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&record));
}

}  // namespace fernwick
