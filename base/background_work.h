#pragma once
// The one way the program starts work of its own that nobody waits for: a detached thread.
// (Threads that live with a window are joined by their owner; server requests fly on the system
// pool: docs/threads.md says why each.) A detached job holds nothing of a window but copies and
// the window's shared task channel, which refuses it once the window is gone.
#include <functional>

#include "base/core/log_line.h"

namespace fernwick {

// Runs `job` on a detached thread, which frees the job when it ends. False when no thread could
// be started: the job is then dropped unrun, and the caller tells the log (the log's own writer
// cannot). An exception leaving `job` is logged as caught in `where` and ends only that thread:
// nothing may leave a thread's entry (the process would end).
bool StartDetached(std::function<void()> job, LogText where) noexcept;

// Runs `job` away from the UI thread; false when it could not be started (the job is then
// dropped unrun). A seam: the program starts a detached thread, tests may choose the thread.
using Spawner = std::function<bool(std::function<void()> job)>;

// StartDetached as a Spawner: `where` names the job in the log.
Spawner DetachedThread(LogText where = "detached job");

}  // namespace fernwick
