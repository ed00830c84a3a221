#pragma once
// Hands work from other threads to the UI thread that made the relay: tasks are queued and a
// message to a hidden message-only window runs them there, in the order they were posted.
// Once the relay is gone, posting fails and the task is dropped on the posting thread, so a
// worker that outlives the window it reported to never touches it.
#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "controls/window_base.h"

namespace fernwick {

class UiRelay : private WindowBase {
 public:
  using Task = std::function<void()>;

  // The thread-safe side, copied into workers.
  class Sender {
   public:
    Sender() = default;
    // False when the relay is gone (the task is then destroyed here and never runs).
    bool Post(Task task) const;

   private:
    friend class UiRelay;
    struct Shared;
    explicit Sender(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}
    std::shared_ptr<Shared> shared_;
  };

  UiRelay();  // on the UI thread
  ~UiRelay() override;

  Sender sender() const { return Sender(shared_); }
  bool ready() const noexcept { return hwnd() != nullptr; }

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void RunQueued();

  std::shared_ptr<Sender::Shared> shared_;
  bool running_ = false;
};

struct UiRelay::Sender::Shared {
  std::mutex lock;
  HWND window = nullptr;  // null once the relay is gone
  std::deque<Task> tasks;
};

}  // namespace fernwick
