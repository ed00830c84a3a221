// Upload benchmark driver (Windows, run under Wine by scripts/bench-upload.sh): signs in on the
// reference server and uploads every file of a folder through the program's own requests, one
// ServiceClient for the batch as the upload worker has it; prints the wall time of the uploads.
//   upload_bench.exe PORT USER PASSWORD FOLDER COUNT [BODIES-FOLDER]
// With BODIES-FOLDER it also writes there the exact body each upload sends (N.body), so that
// the script can post the same bytes with curl.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "service/auth_requests.h"
#include "service/core/service_endpoint.h"
#include "service/core/upload_body.h"
#include "service/service_client.h"
#include "service/upload_request.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace fernwick;
  if (argc < 6) {
    std::fprintf(stderr, "usage: upload_bench PORT USER PASSWORD FOLDER COUNT [BODIES-FOLDER]\n");
    return 2;
  }
  ScopedServiceEndpoint endpoint({"127.0.0.1", static_cast<unsigned short>(std::atoi(argv[1]))});
  const std::string folder = argv[4];
  const int count = std::atoi(argv[5]);

  ServiceClient client;
  AuthReply auth;
  if (client.Open() != kResultOk || AuthenticateWithPassword(client, argv[2], argv[3], auth) != kResultOk) {
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

  int stored = 0;
  long long bytes = 0;
  LARGE_INTEGER start, end;
  ::QueryPerformanceCounter(&start);
  for (int i = 0; i < count; ++i) {
    const std::string path = folder + "\\" + std::to_string(i) + ".jpg";
    int32_t photoId = 0;
    if (UploadPhoto(client, auth.authstr, "bench", "1", path, std::to_string(i), photoId) != kResultOk) {
      std::fprintf(stderr, "upload %d: no exchange\n", i);
      return 1;
    }
    if (photoId > 0) ++stored;
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
