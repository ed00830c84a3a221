#include "accounts/ui_relay.h"

#include <utility>

namespace fernwick {

namespace {
constexpr UINT kRunQueuedTasks = WM_APP + 0x51;
constexpr char kRelayClass[] = "FernwickUiRelay";
}  // namespace

bool UiRelay::Sender::Post(Task task) const {
  if (!shared_) return false;
  std::lock_guard guard(shared_->lock);
  if (!shared_->window) return false;
  shared_->tasks.push_back(std::move(task));
  if (!::PostMessageA(shared_->window, kRunQueuedTasks, 0, 0)) {
    shared_->tasks.pop_back();
    return false;
  }
  return true;
}

UiRelay::UiRelay() : shared_(std::make_shared<Sender::Shared>()) {
  RegisterWindowClass(kRelayClass, 0, nullptr, nullptr);
  const RECT none{};
  shared_->window = CreateWindowOfClass(kRelayClass, 0, 0, none, HWND_MESSAGE, 0);
}

UiRelay::~UiRelay() {
  std::deque<Task> dropped;
  {
    std::lock_guard guard(shared_->lock);
    shared_->window = nullptr;
    dropped.swap(shared_->tasks);
  }
  // WindowBase destroys the window; tasks still queued are destroyed with `dropped`.
}

void UiRelay::RunQueued() {
  // A task may open a message box, whose loop dispatches our next message; the tasks after it
  // wait until it has finished, so they apply in the order they were posted.
  if (running_) return;
  running_ = true;
  for (;;) {
    Task task;
    {
      std::lock_guard guard(shared_->lock);
      if (shared_->tasks.empty()) break;
      task = std::move(shared_->tasks.front());
      shared_->tasks.pop_front();
    }
    try {
      if (task) task();
    } catch (...) {
      // A failed task must not stop the ones after it.
    }
  }
  running_ = false;
}

LRESULT UiRelay::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunQueuedTasks) {
    RunQueued();
    return 0;
  }
  return DefaultProc(message, wParam, lParam);
}

}  // namespace fernwick
