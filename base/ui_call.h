#pragma once
// A worker's two ways of having work done on the UI thread, through the window's task channel:
// CallOnUi waits for its result, TellUi does not. The UI thread never waits for a worker, so a
// call cannot deadlock; when the window has gone (the task is dropped unrun, or could not be
// posted) the wait ends at once with no result.
#include <future>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "base/ui_task.h"
#include "base/run_guarded.h"

namespace fernwick {

// The result of `work` run on the UI thread, or none when it did not complete: the window was
// gone, or the work raised (which stays on the UI thread). `work` returning void gives true
// when it ran to its end.
template <class Work>
auto CallOnUi(UiTaskChannel& channel, Work work) {
  using Result = std::invoke_result_t<Work&>;
  using Value = std::conditional_t<std::is_void_v<Result>, bool, Result>;
  // Freeing the task unrun, or leaving it without a value, breaks the promise.
  auto promise = std::make_shared<std::promise<std::optional<Value>>>();
  std::future<std::optional<Value>> future = promise->get_future();
  channel.Post([promise, work = std::move(work)]() mutable noexcept {
    std::optional<Value> value;
    RunGuarded([&] {
      if constexpr (std::is_void_v<Result>) {
        work();
        value = true;
      } else {
        value = work();
      }
    });
    RunGuarded([&] { promise->set_value(std::move(value)); });
  });
  promise.reset();
  std::optional<Value> value;
  // A broken promise (the window went before the task ran) raises here: no result.
  RunGuarded([&] { value = future.get(); });
  return value;
}

// Hands `work` to the UI thread without waiting: the window runs its tasks in the order they
// were handed over, so it still happens before every later step. Nothing it raises leaves the
// window procedure.
template <class Work>
void TellUi(UiTaskChannel& channel, Work work) {
  channel.Post([work = std::move(work)]() mutable noexcept { RunGuarded(work); });
}

}  // namespace fernwick
