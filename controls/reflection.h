#pragma once
// Notification reflection, the common-controls convention: a parent sends a notification
// back to the child control that caused it, with 0x2000 added to the message number, so a
// control can handle its own drawing and notifications.
#include <windows.h>

#include <optional>

namespace fernwick {

inline constexpr UINT kReflectionOffset = 0x2000;

// True when `message` is a notification a parent reflects (WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_CTLCOLOR..., ...), given without the offset.
bool IsReflectableNotification(UINT message) noexcept;
// True when `message` is such a notification with the offset added, as the child receives it.
bool IsReflectedMessage(UINT message) noexcept;

// When `message` came from a child control of `parent`, sends it to that control with the
// offset added and returns the control's answer; nothing when there is no such control.
std::optional<LRESULT> ReflectNotification(HWND parent, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace fernwick
