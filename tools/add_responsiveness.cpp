// How the main window answers while photos are added (Windows, run under Wine by
// scripts/bench-adding.sh): the real main window adds every JPEG of a folder the way Add and drop
// do, while a second thread sends it WM_NULL every few milliseconds and records the longest wait
// for an answer. Prints that, the wall time of the add and the process's peak working set.
// Figures only, never asserted.
//   add_responsiveness.exe FOLDER COUNT [sync] [EXTENSION]
// FOLDER holds 0.jpg .. COUNT-1.jpg (or 0.EXTENSION ..., e.g. heic or webp); "sync" adds them one
// after another on the window's own thread instead (AddPhoto, as the program once did), for
// comparison.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/main_dialog.h"
#include "base/program_state.h"
#include "base/text_936.h"
#include "bench/bench_support.h"
#include "imaging/add_photos.h"
#include "tools/bench_timing.h"
#include "tools/tool_host.h"

namespace {

using namespace fernwick;
// <chrono> does not build with the code page 936 execution character set.
double NowMs() {
  static LARGE_INTEGER origin = [] {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now;
  }();
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return bench::Seconds(origin, now) * 1000.0;
}

// Asks the window every `periodMs` whether it answers, and keeps the longest wait.
class AnswerWatch {
 public:
  explicit AnswerWatch(HWND window) : thread_([this, window] { Watch(window); }) {}
  ~AnswerWatch() { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  double longestMs() const { return longestMs_; }
  int slowAnswers() const { return slow_; }
  int answers() const { return answers_; }

 private:
  static constexpr DWORD kPeriodMs = 5;
  void Watch(HWND window) {
    while (!stop_) {
      const double asked = NowMs();
      DWORD_PTR result = 0;
      ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
      const double waited = NowMs() - asked;
      longestMs_ = std::max(longestMs_.load(), waited);
      slow_ += waited >= 50 ? 1 : 0;
      ++answers_;
      ::Sleep(kPeriodMs);
    }
  }
  std::atomic<bool> stop_{false};
  std::atomic<double> longestMs_{0};
  std::atomic<int> slow_{0};
  std::atomic<int> answers_{0};
  std::thread thread_;
};

// How long the window's thread spent on each kind of message it dispatched: where a slow answer
// comes from. Sent messages (the watch's WM_NULL) are answered inside the pump's own calls.
struct DispatchTimes {
  struct Kind {
    int count = 0;
    double totalMs = 0;
    double longestMs = 0;
  };
  Kind tasks, paints, others;
  void Add(UINT message, double ms) {
    Kind& kind = message == kUiTaskMessage ? tasks : message == WM_PAINT ? paints : others;
    ++kind.count;
    kind.totalMs += ms;
    kind.longestMs = std::max(kind.longestMs, ms);
  }
  void Print() const {
    const std::pair<const char*, const Kind*> kinds[] = {{"tasks", &tasks}, {"paints", &paints}, {"others", &others}};
    for (const auto& [name, kind] : kinds) {
      std::printf("dispatch %s count=%d total_ms=%.0f longest_ms=%.1f\n", name, kind->count, kind->totalMs,
                  kind->longestMs);
    }
  }
};

// Runs the window's messages until `done` holds.
template <typename Done>
void PumpUntil(HWND dialog, Done done, DispatchTimes* times = nullptr) {
  while (!done()) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      const double start = NowMs();
      if (!::IsDialogMessageW(dialog, &message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
      if (times) times->Add(message.message, NowMs() - start);
    }
  }
}

double PeakWorkingSetMb() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
  return static_cast<double>(counters.PeakWorkingSetSize) / 1048576.0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: add_responsiveness FOLDER COUNT [sync] [EXTENSION]\n");
    return 2;
  }
  tools::ToolPlatform platform;
  const std::wstring folder = WideFrom936(argv[1]);
  const int count = std::atoi(argv[2]);
  bool sync = false;
  std::wstring extension = L"jpg";
  for (int i = 3; i < argc; ++i) {
    if (std::string(argv[i]) == "sync") {
      sync = true;
    } else {
      extension = WideFrom936(argv[i]);
    }
  }
  std::vector<std::wstring> paths;
  for (int i = 0; i < count; ++i) paths.push_back(folder + L"\\" + std::to_wstring(i) + L"." + extension);
  SetSizeLimit(1024);

  {
    MainDialog dialog;
    HWND window = dialog.Create(nullptr);
    if (!window) return 1;
    ::ShowWindow(window, SW_SHOW);
    ::UpdateWindow(window);
    PumpUntil(window, [] { return true; });

    const double startMb = PeakWorkingSetMb();
    AnswerWatch watch(window);
    const double start = NowMs();
    const double processorStart = tools::ProcessSeconds();
    DispatchTimes times;
    if (sync) {
      for (const std::wstring& path : paths) AddPhoto(dialog.photos(), path, SizeLimit());
      dialog.view().LayOutAndRepaint();
    } else {
      dialog.preparer().Add(paths, SizeLimit());
      auto added = [&] { return !dialog.preparer().busy(); };
      PumpUntil(window, added, &times);
    }
    const double seconds = (NowMs() - start) / 1000.0;
    // The add's own share of the processors (100 a core), without the program's start and end.
    const double cpuPercent = seconds > 0 ? (tools::ProcessSeconds() - processorStart) / seconds * 100 : 0;
    // The last answers come in while the window still runs its messages.
    PumpUntil(window, [&, asked = watch.answers()] { return watch.answers() > asked + 2; });
    watch.Stop();
    std::printf(
        "mode=%s photos=%u threads=%u seconds=%.2f add_cpu_percent=%.0f longest_wait_ms=%.1f waits_over_50ms=%d "
        "answers=%d "
        "peak_working_set_mb=%.0f peak_before_mb=%.0f\n",
        sync ? "sync" : "background", dialog.photos().Count(), PhotoPreparer::DefaultThreadCount(), seconds, cpuPercent,
        watch.longestMs(), watch.slowAnswers(), watch.answers(), PeakWorkingSetMb(), startMb);
    times.Print();
    ::DestroyWindow(window);
  }
  return 0;
}
