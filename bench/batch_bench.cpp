// Whole-batch benchmark (Windows, run under Wine by scripts/bench-batch.sh): the real main
// window and upload worker send every photo of a folder to the reference server, exactly as OK
// does; prints the wall time from OK to the end of the batch. Then writes the upload bodies of
// the same photos, with a valid token, for the script to post with curl, and times the batch
// journal's two ways of recording a photo's change of state.
//   batch_bench.exe PORT USER PASSWORD FOLDER COUNT BODIES-FOLDER
// With "wininet" first it times instead WinINet alone doing the batch's exchanges, as curl does
// them: one thread, the bodies written beforehand, the program's request settings and pieces.
//   batch_bench.exe wininet PORT USER PASSWORD TOKEN BODIES-FOLDER COUNT
// With BENCH_HIDDEN set the window is never shown, so nothing is painted.
#include <windows.h>
#include <commctrl.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "accounts/settings_file.h"
#include "app/main_dialog.h"
#include "res/main_window_ids.h"
#include "base/platform_guards.h"
#include "base/program_state.h"
#include "base/internet_handle.h"
#include "base/prompt.h"
#include "base/text_936.h"
#include "imaging/add_photos.h"
#include "bench/bench_support.h"
#include "service/auth_requests.h"
#include "service/core/auth_rules.h"
#include "service/core/transfer_limits.h"
#include "service/core/service_endpoint.h"
#include "service/core/upload_body.h"
#include "service/service_client.h"
#include "tools/bench_timing.h"
#include "upload/batch_journal_file.h"

using fernwick::bench::ReadAll;
using fernwick::bench::Seconds;

namespace {

using namespace fernwick;

// One request as the program makes it (HTTP/1.0, the body in the program's pieces), its answer
// read whole; false when it failed.
bool Ask(HINTERNET connection, const char* verb, const std::string& path, const std::string& headers,
         const std::string& body) {
  UniqueInternetHandle request(::HttpOpenRequestA(connection, verb, path.c_str(), "HTTP/1.0", nullptr, nullptr,
                                                  INTERNET_FLAG_NO_CACHE_WRITE, 0));
  if (!request) return false;
  if (body.empty() && !::HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) return false;
  INTERNET_BUFFERSA buffers{};
  buffers.dwStructSize = sizeof(buffers);
  buffers.lpcszHeader = headers.empty() ? nullptr : headers.c_str();
  buffers.dwHeadersLength = static_cast<DWORD>(headers.size());
  buffers.dwBufferTotal = static_cast<DWORD>(body.size());
  if (!body.empty() && !::HttpSendRequestExA(request.get(), &buffers, nullptr, 0, 0)) return false;
  for (size_t at = 0; at < body.size();) {
    DWORD written = 0;
    const DWORD piece = static_cast<DWORD>(std::min(kBodyPieceSize, body.size() - at));
    if (!::InternetWriteFile(request.get(), body.data() + at, piece, &written) || written == 0) return false;
    at += written;
  }
  if (!body.empty() && !::HttpEndRequestA(request.get(), nullptr, 0, 0)) return false;
  char reply[4096];
  DWORD got = 0;
  while (::InternetReadFile(request.get(), reply, sizeof(reply), &got) && got != 0) {
  }
  return true;
}

// WinINet's own floor for the batch: the sign-in, then for each photo the token request and
// its upload, nothing else between them.
int WinInetFloor(char** argv) {
  const unsigned short port = static_cast<unsigned short>(std::atoi(argv[2]));
  const std::string token = argv[5];
  const std::string bodies = argv[6];
  const int count = std::atoi(argv[7]);
  std::vector<std::string> body(count);
  for (int i = 0; i < count; ++i) body[i] = ReadAll(bodies + "\\" + std::to_string(i) + ".body");
  LARGE_INTEGER start, end;
  ::QueryPerformanceCounter(&start);
  UniqueInternetHandle internet(::InternetOpenA(kServiceAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  UniqueInternetHandle connection(
      internet ? ::InternetConnectA(internet.get(), "127.0.0.1", port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0)
               : nullptr);
  if (!connection || !Ask(connection.get(), "GET", PasswordAuthPath(argv[3], argv[4]), "", "")) return 1;
  for (int i = 0; i < count; ++i) {
    if (!Ask(connection.get(), "GET", TokenAuthPath(token), "", "") ||
        !Ask(connection.get(), "POST", kUploadObjectPath, UploadHeaderBlock(body[i].size()), body[i])) {
      return 1;
    }
  }
  ::QueryPerformanceCounter(&end);
  std::printf("wininet_seconds=%.3f\n", Seconds(start, end));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace fernwick;
  if (argc == 8 && std::string(argv[1]) == "wininet") return WinInetFloor(argv);
  if (argc < 7) {
    std::fprintf(stderr, "usage: batch_bench PORT USER PASSWORD FOLDER COUNT BODIES-FOLDER\n");
    return 2;
  }
  ComGuard com;
  GdiplusGuard gdiplus;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  ScopedServiceEndpoint endpoint({"127.0.0.1", static_cast<unsigned short>(std::atoi(argv[1]))});
  int prompts = 0;
  ScopedPromptAnswerer answerer([&](const PromptRequest&) {
    ++prompts;
    return IDOK;
  });
  const std::string folder = argv[4];  // ASCII, from scripts/bench-*.sh
  const int count = std::atoi(argv[5]);

  // A saved account would start a sign-in of its own beside the batch.
  ::DeleteFileW(SettingsFilePath().c_str());
  MainDialog dialog;
  if (!dialog.Create(nullptr)) return 1;
  if (!std::getenv("BENCH_HIDDEN")) ::ShowWindow(dialog.hwnd(), SW_SHOW);
  dialog.accounts().Switch({WideFrom936(argv[2]), WideFrom936(argv[3])});
  for (int i = 0; i < count; ++i)
    AddPhoto(dialog.photos(), WideFrom936(folder + "\\" + std::to_string(i) + ".jpg"), 1600);
  dialog.view().Layout();
  const unsigned added = dialog.photos().Count();

  ::SendMessageA(dialog.hwnd(), WM_COMMAND, ids::kUploadButton, 0);
  LARGE_INTEGER start, end;
  const double windowThreadBefore = tools::ThreadSeconds();
  const double processBefore = tools::ProcessSeconds();
  ::QueryPerformanceCounter(&start);
  ::SendMessageA(dialog.hwnd(), WM_COMMAND, ids::kOkButton, 0);
  MSG message{};
  // OK checks the account first (a request of its own) and starts the batch when it answers.
  const auto busy = [&dialog] { return dialog.uploadSession().checking() || dialog.uploadSession().running(); };
  while (busy() && ::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  ::QueryPerformanceCounter(&end);
  std::printf("added=%u left=%u prompts=%d batch_seconds=%.3f\n", added, dialog.photos().Count(), prompts,
              Seconds(start, end));
  // Processor time over the batch: the window's thread (reports applied, painting) and the whole
  // process (with the worker and WinINet's threads).
  std::printf("window_thread_cpu_ms=%.0f process_cpu_ms=%.0f\n", (tools::ThreadSeconds() - windowThreadBefore) * 1000,
              (tools::ProcessSeconds() - processBefore) * 1000);

  // A photo's change of state in the journal of a batch of `count`: the whole file written again
  // (a new file, flushed, renamed over the old), against a line appended and flushed.
  BatchJournal journal{"bench", 1, {}};
  for (int i = 0; i < count; ++i) journal.photos.push_back({folder + "\\" + std::to_string(i) + ".jpg"});
  const auto msEach = [count](auto record) {
    LARGE_INTEGER from, to;
    ::QueryPerformanceCounter(&from);
    for (int i = 0; i < count; ++i) record(i);
    ::QueryPerformanceCounter(&to);
    return Seconds(from, to) * 1000 / count;
  };
  WriteBatchJournal(journal, JournalForm::kChangesFollow);
  const double whole = msEach([&](int i) {
    journal.photos[i].state = JournalState::Failed;
    WriteBatchJournal(journal, JournalForm::kChangesFollow);
  });
  const double appended = msEach([](int i) { AppendBatchJournalChange(i, JournalState::Sending, 0); });
  const double unflushed = msEach([](int i) { AppendBatchJournalChange(i, JournalState::Failed, 0, false); });
  RemoveBatchJournal();
  std::printf("journal_whole_ms=%.3f journal_append_ms=%.3f journal_append_unflushed_ms=%.3f\n", whole, appended,
              unflushed);

  // The same photos' bodies, with a token of their own, for curl.
  ServiceClient client;
  AuthReply auth;
  if (client.Open() != kResultOk ||
      AuthenticateWithPassword(client, WideFrom936(argv[2]), WideFrom936(argv[3]), auth) != kResultOk)
    return 1;
  for (int i = 0; i < count; ++i) {
    const std::string path = folder + "\\" + std::to_string(i) + ".jpg";
    std::ofstream(std::string(argv[6]) + "\\" + std::to_string(i) + ".body", std::ios::binary)
        << BuildUploadBody({auth.authstr, "", "1", std::to_string(i), path}, ReadAll(path));
  }
  std::printf("token=%s\n", auth.authstr.c_str());
  ::DestroyWindow(dialog.hwnd());
  ::DeleteFileW(SettingsFilePath().c_str());
  return 0;
}
