// Upload benchmark driver (Windows, run under Wine by scripts/bench-upload.sh): signs in on the
// reference server and uploads every file of a folder through the program's own requests, one
// ServiceClient for the batch as the upload worker has it; prints the wall time of the uploads.
//   upload_bench.exe PORT USER PASSWORD FOLDER COUNT [BODIES-FOLDER]
// With BODIES-FOLDER it also writes there the exact body each upload sends (N.body), so that
// the script can post the same bytes with curl. Also prints what preparing the bodies alone
// and (with BENCH_SEND_ONLY) WinINet alone cost, to tell where the time goes.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "base/text_936.h"
#include "bench/bench_support.h"
#include "service/auth_requests.h"
#include "service/core/service_endpoint.h"
#include "service/core/upload_body.h"
#include "service/service_client.h"
#include "service/upload_request.h"

using fernwick::bench::ReadAll;
using fernwick::bench::Seconds;

int main(int argc, char** argv) {
  using namespace fernwick;
  if (argc < 6) {
    std::fprintf(stderr, "usage: upload_bench PORT USER PASSWORD FOLDER COUNT [BODIES-FOLDER]\n");
    return 2;
  }
  ScopedServiceEndpoint endpoint({"127.0.0.1", static_cast<unsigned short>(std::atoi(argv[1]))});
  const std::string folder = argv[4];  // ASCII, from scripts/bench-*.sh
  const int count = std::atoi(argv[5]);

  ServiceClient client;
  AuthReply auth;
  if (client.Open() != kResultOk ||
      AuthenticateWithPassword(client, WideFrom936(argv[2]), WideFrom936(argv[3]), auth) != kResultOk) {
    std::fprintf(stderr, "cannot sign in\n");
    return 1;
  }
  if (argc > 6) {
    for (int i = 0; i < count; ++i) {
      const std::string path = folder + "\\" + std::to_string(i) + ".jpg";
      const std::string title = std::to_string(i);
      std::ofstream(std::string(argv[6]) + "\\" + std::to_string(i) + ".body", std::ios::binary)
          << BuildUploadBody({auth.authstr, "bench", "1", title, path}, ReadAll(path));
    }
  }

  // What preparing the bodies alone costs (reading the files and laying out the form), to tell
  // it apart from the transfer.
  LARGE_INTEGER start, end;
  ::QueryPerformanceCounter(&start);
  size_t prepared = 0;
  for (int i = 0; i < count; ++i) {
    const std::string path = folder + "\\" + std::to_string(i) + ".jpg";
    prepared += BuildUploadBody({auth.authstr, "bench", "1", std::to_string(i), path}, ReadAll(path)).size();
  }
  ::QueryPerformanceCounter(&end);
  std::printf("prepare_seconds=%.3f prepared_bytes=%zu\n", Seconds(start, end), prepared);
  // With BENCH_SEND_ONLY set: what WinINet alone costs, posting one body built beforehand.
  if (std::getenv("BENCH_SEND_ONLY")) {
    const std::string body =
        BuildUploadBody({auth.authstr, "bench", "1", "x", "C:\\x.jpg"}, ReadAll(folder + "\\0.jpg"));
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < count; ++i) client.SendRequest("POST", kUploadObjectPath, UploadHeaderBlock(body.size()), body);
    ::QueryPerformanceCounter(&end);
    std::printf("send_only_seconds=%.3f\n", Seconds(start, end));
  }

  int stored = 0;
  long long bytes = 0;
  ::QueryPerformanceCounter(&start);
  for (int i = 0; i < count; ++i) {
    const std::string path = folder + "\\" + std::to_string(i) + ".jpg";
    const UploadAttempt attempt =
        SendPhoto(client, auth.authstr, "bench", "1", WideFrom936(path), WideFrom936(std::to_string(i)));
    if (attempt.end == UploadEnd::NoConnection || attempt.end == UploadEnd::BrokenBeforeBody) {
      std::fprintf(stderr, "upload %d: no exchange\n", i);
      return 1;
    }
    if (attempt.photoId > 0) ++stored;
  }
  ::QueryPerformanceCounter(&end);
  for (int i = 0; i < count; ++i) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (::GetFileAttributesExA((folder + "\\" + std::to_string(i) + ".jpg").c_str(), GetFileExInfoStandard, &data)) {
      bytes += data.nFileSizeLow;
    }
  }
  std::printf("client_seconds=%.3f stored=%d bytes=%lld\n", Seconds(start, end), stored, bytes);
  return stored == count ? 0 : 1;
}
