// How long the upload history of 100,000 records takes to load at start, and the memory its
// index holds: writes such a file (two accounts, titles of photo files' length, one record in
// eight that may be on the site), then loads it as the program does and prints the figures.
//   history_bench.exe [records] [rounds]
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/core/sha256.h"
#include "imaging/file_bytes.h"
#include "upload/core/upload_history.h"
#include "upload/upload_history.h"

namespace {

// <chrono> does not compile with the program's execution character set.
double Milliseconds() {
  LARGE_INTEGER now{}, frequency{};
  ::QueryPerformanceCounter(&now);
  ::QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

SIZE_T PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace fernwick;
  const int count = argc > 1 ? std::atoi(argv[1]) : 100'000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
  std::wstring path(MAX_PATH, L'\0');
  path.resize(::GetTempPathW(MAX_PATH, path.data()));
  path += L"fernwick-history-bench.history";

  std::string bytes(kHistoryHeading);
  for (int i = 0; i < count; ++i) {
    const std::string seed = std::to_string(i);
    const HistoryRecord record{i % 3 ? "alice" : "photographer2024",
                               Sha256Of(std::span(reinterpret_cast<const uint8_t*>(seed.data()), seed.size())),
                               i % 8 ? 100000 + i : 0, 1765251600 + i, "IMG_" + seed + "_旅行"};
    bytes += EncodeHistoryRecord(record);
  }
  if (!WriteFileBytes(path, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))) return 1;
  std::printf("history of %d records, %zu bytes on disk\n", count, bytes.size());

  for (int round = 1; round <= rounds; ++round) {
    const SIZE_T before = PrivateBytes();
    const double start = Milliseconds();
    UploadHistory history(path);
    history.Load();
    const double ms = Milliseconds() - start;
    std::printf("round %d: load %.1f ms, index %.2f MB, private bytes +%.2f MB, %zu records\n", round, ms,
                history.index().MemoryBytes() / 1048576.0, (PrivateBytes() - before) / 1048576.0,
                history.index().size());
  }
  ::DeleteFileW(path.c_str());
  return 0;
}
