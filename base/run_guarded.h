#pragma once
// The one rule for failures nobody foresaw (no memory, a broken picture, a failed message box)
// at a boundary an exception must not cross: a thread's entry, a task run on the UI thread for
// a worker, the end of a worker's job. The step that raised ends there and reports that it did
// not complete; the thread or window procedure that ran it goes on. Such boundaries run their
// work through here, so nothing on either side of them catches anything else.
#include <utility>

#include "base/log.h"

namespace fernwick {

// Runs `step`; false when it raised, which the log records with `where`.
template <class Step>
bool RunGuarded(Step&& step, LogText where = "step handed between threads") noexcept {
  try {
    std::forward<Step>(step)();
    return true;
  } catch (...) {
    LogCaughtException(where);
    return false;
  }
}

}  // namespace fernwick
