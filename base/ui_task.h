#pragma once
// The one road from a worker thread to the user interface: the worker posts a task, the
// window's thread runs it. Workers never touch windows or UI members themselves.
//
// A task travels as a posted message (kUiTaskMessage) whose lParam owns the task; the
// receiving window runs and frees it. If the message cannot be posted, Post frees the task.
//
// When the window goes away: its WM_DESTROY calls Close(), which, under the same lock that
// every Post holds while posting, refuses all later tasks and then frees every task still
// queued for the window without running it. Nothing can therefore slip into the queue after
// the drain, no task runs against a dead window, and none leaks. The channel object itself is
// shared (std::shared_ptr) so a worker that outlives the window still posts into a closed
// channel rather than through a dangling pointer.
#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>

namespace fernwick {

inline constexpr UINT kUiTaskMessage = WM_APP + 1;

class UiTaskChannel {
 public:
  using Task = std::function<void()>;

  // `window` receives the tasks; it must pass its messages to Run.
  static std::shared_ptr<UiTaskChannel> Open(HWND window);

  explicit UiTaskChannel(HWND window) noexcept : window_(window) {}
  UiTaskChannel(const UiTaskChannel&) = delete;
  UiTaskChannel& operator=(const UiTaskChannel&) = delete;

  // Any thread. False when the channel is closed or the message could not be posted; the
  // task has then been freed without running.
  bool Post(Task task);

  // The window's thread, from its WM_DESTROY: no task runs or arrives after this.
  void Close();
  bool closed() const;

  // The window's thread, first thing in its message handling: runs and frees the task when
  // `message` carries one and returns true; false for any other message.
  static bool Run(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  mutable std::mutex lock_;
  HWND window_;
  bool open_ = true;
};

}  // namespace fernwick
