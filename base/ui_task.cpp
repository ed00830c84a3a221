#include "base/ui_task.h"

#include <utility>

#include "base/log.h"

namespace fernwick {

namespace {
// Tells our task messages from anything else that might use the same number.
constexpr WPARAM kTaskTag = 0x4657'5554;  // "FWUT"

using TaskBox = std::unique_ptr<UiTaskChannel::Task>;
TaskBox TakeTask(LPARAM lParam) { return TaskBox(reinterpret_cast<UiTaskChannel::Task*>(lParam)); }
}  // namespace

std::shared_ptr<UiTaskChannel> UiTaskChannel::Open(HWND window) { return std::make_shared<UiTaskChannel>(window); }

bool UiTaskChannel::Post(Task task) {
  if (!task) return false;
  auto box = std::make_unique<Task>(std::move(task));
  std::lock_guard guard(lock_);
  if (!open_) return false;
  if (!::PostMessageW(window_, kUiTaskMessage, kTaskTag, reinterpret_cast<LPARAM>(box.get()))) {
    // The window's queue is full or the window is gone without closing its channel.
    LogLastError("ui tasks: a task cannot be posted to its window");
    return false;
  }
  box.release();  // the receiver owns it now
  return true;
}

void UiTaskChannel::Close() {
  {
    std::lock_guard guard(lock_);
    if (!open_) return;
    open_ = false;
  }
  // Every Post that succeeded did so before open_ fell, so its message is in this thread's
  // queue now; free them all unrun.
  MSG message{};
  while (::PeekMessageW(&message, window_, kUiTaskMessage, kUiTaskMessage, PM_REMOVE)) {
    if (message.wParam == kTaskTag) TakeTask(message.lParam);
  }
}

bool UiTaskChannel::closed() const {
  std::lock_guard guard(lock_);
  return !open_;
}

bool UiTaskChannel::Run(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kUiTaskMessage || wParam != kTaskTag) return false;
  TaskBox task = TakeTask(lParam);
  if (task && *task) (*task)();
  return true;
}

}  // namespace fernwick
