#include "base/ui_thread.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "base/log.h"

namespace fernwick {

namespace {
// Taken while the program's statics are made, before main: on the process's first thread.
const DWORD g_uiThread = ::GetCurrentThreadId();
}  // namespace

bool OnUiThread() noexcept { return ::GetCurrentThreadId() == g_uiThread; }

#ifdef FERNWICK_CHECK_UI_THREAD
void AssertUiThread(std::source_location caller) noexcept {
  if (OnUiThread()) return;
  std::fprintf(stderr, "UI thread only: %s (%s:%u) ran on thread %lu\n", caller.function_name(), caller.file_name(),
               static_cast<unsigned>(caller.line()), static_cast<unsigned long>(::GetCurrentThreadId()));
  std::fflush(stderr);
  LogFailure("UI thread check: a step of the UI thread ran on another thread");
  FlushLog(1000);
  std::abort();
}
#endif

}  // namespace fernwick
