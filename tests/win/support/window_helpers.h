#pragma once
// Helpers for tests that drive real windows: texts, places, clicks, the message queue.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace fernwick::test {

// Handles every message already waiting for this thread (no waiting for new ones).
void PumpPendingMessages();
// Handles this thread's messages as they come until `done` holds; false when it still does not
// after `milliseconds` (a failure bound, not a pace).
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 10000);

// Read through the W functions: what the window holds, whatever the system code page.
std::wstring WindowText(HWND window);
std::string ClassName(HWND window);
// `child`'s window rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);
// The centre of `window` in screen coordinates.
POINT ScreenCentre(HWND window);

// Top-level windows whose title is exactly `title`, visible or not.
std::vector<HWND> TopLevelWindowsTitled(const wchar_t* title);
// Top-level windows of process `processId` whose title is exactly `title`.
std::vector<HWND> TopLevelWindowsOfProcess(DWORD processId, const wchar_t* title);

// A left click in the middle of `window`, sent as button down and up.
void Click(HWND window);
// A button's press as its parent hears it: WM_COMMAND, BN_CLICKED, from control `id` of `window`.
void Command(HWND window, int id);
// Presses `id` of `window` as Enter does (WM_COMMAND without the control), then handles
// messages until `settled` holds; a test failure when it does not within seconds.
void PressThenPump(HWND window, int id, const std::function<bool()>& settled);
// Whether `window` has the WS_VISIBLE style, whatever its parents have.
bool Visible(HWND window);

// A window procedure that runs the task messages of a UiTaskChannel and passes every other
// message on to DefWindowProcW.
LRESULT CALLBACK TaskWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// What the scroll bars of `window` span (their range), whether they show or not.
SIZE ScrollContentSize(HWND window);

// Sets the outer size of `window` so that its client area is `width` x `height`.
void SetClientSize(HWND window, int width, int height);

// A window of class `className`, registered with `procedure` the first time it is asked for.
HWND CreateTestWindow(const char* className, WNDPROC procedure, DWORD style, HWND parent = nullptr, int id = 0,
                      RECT rect = {0, 0, 10, 10}, const char* title = "");

// The mouse comes to rest at `point` (client coordinates of `window`): the cursor goes there
// and the window gets the move, as from the system. Returns the text of the tooltip of this
// thread that shows within a few seconds, or empty. A tooltip already showing is waited away
// first, with the cursor in the screen's corner.
std::wstring TooltipAfterResting(HWND window, POINT point);

// The direct children of `parent`, in Z order.
std::vector<HWND> Children(HWND parent);

}  // namespace fernwick::test
