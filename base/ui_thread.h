#pragma once
// The rule "UI thread only", checked rather than only written: what only the thread of the
// windows may touch (the photo list, the account state, the window's batch steps) calls
// AssertUiThread() first. Called from any other thread, it stops the program at the call, with
// where it was, instead of letting the state be corrupted and fail somewhere later. It is in
// every build but Release (FERNWICK_CHECK_UI_THREAD, set by the top CMakeLists.txt), so the
// tests and every run of the scripts' builds check it; the released program does not pay for it.
#include <source_location>

namespace fernwick {

// The UI thread is the process's first thread, the one that runs WinMain (or a test's main).
bool OnUiThread() noexcept;

#ifdef FERNWICK_CHECK_UI_THREAD
// On another thread: writes the caller's place to the standard error and the log, then aborts.
void AssertUiThread(std::source_location caller = std::source_location::current()) noexcept;
#else
inline void AssertUiThread() noexcept {}
#endif

}  // namespace fernwick
