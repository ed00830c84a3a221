#pragma once
// The main window's button on the taskbar: how far an add or a batch has gone, yellow while a
// batch's transfer stands still, red when a batch ended with photos left in the list, and a
// flash when a batch ends behind the user's back.
// The shell's interface is asked for only once the button exists (its "TaskbarButtonCreated"
// message); before that, and where the shell has none, every call does nothing.
#include <windows.h>
#include <shobjidl.h>

#include <cstdint>

#include "base/handles.h"

namespace fernwick {

class TaskbarButton {
 public:
  // The shell's "TaskbarButtonCreated", registered once.
  static UINT CreatedMessage();

  // On CreatedMessage: takes the interface for `window`'s button (again after Explorer restarts).
  void Attach(HWND window);
  bool attached() const noexcept { return static_cast<bool>(list_); }

  // `done` of `total`; the button's own green bar. Every call counts as a move of the transfer.
  void ShowProgress(uint64_t done, uint64_t total);
  // From the window's timer while a batch is sent: yellow once nothing has moved for kStillMs,
  // until the next move. The request itself is given up only at the much longer stall limit.
  void ShowPausedIfStill();
  static constexpr uint64_t kStillMs = 5000;
  // Red, full, until Clear.
  void ShowError();
  void Clear();
  // Flashes `window`'s button until it is activated, when it is not in front now.
  static void FlashIfInBackground(HWND window);

 private:
  HWND window_ = nullptr;
  UniqueCom<ITaskbarList3> list_;
  uint64_t movedAt_ = 0;  // GetTickCount64 at the last ShowProgress
  bool paused_ = false;
};

}  // namespace fernwick
