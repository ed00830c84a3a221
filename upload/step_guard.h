#pragma once
// The batch's one rule for failures it did not foresee (no memory, a broken picture, a failed
// message box): the step that raised it ends there and reports that it did not complete; the
// thread or window procedure that ran it goes on. Every boundary an exception must not cross
// (the worker's thread entry, a step run on the UI thread, the end of the batch) runs its work
// through here, so no other part of the batch catches anything.
#include <utility>

#include "base/log.h"

namespace fernwick {

// Runs `step`; false when it raised, which the log records with `where`.
template <class Step>
bool RunGuarded(Step&& step, LogText where = "upload batch step") noexcept {
  try {
    std::forward<Step>(step)();
    return true;
  } catch (...) {
    LogCaughtException(where);
    return false;
  }
}

}  // namespace fernwick
