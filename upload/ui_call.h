#pragma once
// A worker's synchronous call to the UI thread: the work is posted through the window's task
// channel and the worker waits for its result. The UI thread never waits for the worker, so
// this cannot deadlock; when the window has gone (the task is dropped unrun, or could not be
// posted) the wait ends at once with no result.
#include <future>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "base/ui_task.h"

namespace fernwick {

// The result of `work` run on the UI thread, or none when it never ran. `work` returning
// void gives true when it ran.
template <class Work>
auto CallOnUi(UiTaskChannel& channel, Work work) {
  using Result = std::invoke_result_t<Work&>;
  using Value = std::conditional_t<std::is_void_v<Result>, bool, Result>;
  // Freeing the task unrun breaks the promise, which wakes the worker below.
  auto promise = std::make_shared<std::promise<Value>>();
  std::future<Value> future = promise->get_future();
  channel.Post([promise, work = std::move(work)]() mutable {
    try {
      if constexpr (std::is_void_v<Result>) {
        work();
        promise->set_value(true);
      } else {
        promise->set_value(work());
      }
    } catch (...) {
      promise->set_exception(std::current_exception());
    }
  });
  promise.reset();
  std::optional<Value> value;
  try {
    value = future.get();
  } catch (const std::future_error&) {
    // The window went away before the task ran.
  }
  return value;
}

}  // namespace fernwick
