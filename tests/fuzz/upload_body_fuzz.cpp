// Any field values and content: the body must always parse back by its own offsets.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "service/core/reply_rules.h"
#include "service/core/upload_body.h"

using namespace fernwick;

namespace {
void Check(bool condition) {
  if (!condition) std::abort();
}
std::string_view Take(std::string_view& input, size_t n) {
  n = std::min(n, input.size());
  std::string_view piece = input.substr(0, n);
  input.remove_prefix(n);
  return piece;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  std::string_view input(reinterpret_cast<const char*>(data + 5), size - 5);
  const std::string_view authstr = Take(input, data[0] % 64);
  const std::string_view tags = Take(input, data[1] % 64);
  const std::string_view status = Take(input, data[2] % 4);
  const std::string_view title = Take(input, data[3] % 64);
  const std::string_view path = Take(input, data[4] % 128);
  const std::string_view content = input;

  const UploadFields fields{authstr, tags, status, title, path};
  const std::string body = BuildUploadBody(fields, content);
  const size_t begin = 488 + authstr.size() + tags.size() + status.size() + 2 * title.size() + path.size();
  const size_t end = begin + content.size();
  Check(UploadBodyHead(fields).size() == begin);
  Check(body.size() == end + 234 + std::to_string(begin).size() + std::to_string(end).size());
  Check(body.substr(begin, content.size()) == content);
  const std::string tail = body.substr(end);
  Check(tail.rfind("\r\n--", 0) == 0);
  Check(tail.find("name=\"beginpos\"\r\n\r\n" + std::to_string(begin) + "\r\n") != std::string::npos);
  Check(tail.size() >= 44 && tail.substr(tail.size() - 44) == std::string("--") + kUploadBoundary + "--\r\n");
  Check(UploadHeaderBlock(body.size()).find("Content-Length: " + std::to_string(body.size())) != std::string::npos);
  return 0;
}
