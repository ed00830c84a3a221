#include "service/upload_request.h"

#include <exception>

#include "base/handles.h"
#include "service/core/reply_rules.h"
#include "service/core/upload_body.h"
#include "service/service_client.h"

namespace fernwick {

namespace {

// Appends the whole file to the body with one read; nothing when it cannot be opened or
// read whole, or when it is larger than the body leaves room for.
bool AppendFileContent(const std::string& filePath, std::string& body) {
  UniqueFile file(::CreateFileA(filePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return false;
  if (!FileFitsUpload(static_cast<uint64_t>(size.QuadPart))) return false;
  const size_t start = body.size();
  body.resize(start + static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!::ReadFile(file.get(), body.data() + start, static_cast<DWORD>(size.QuadPart), &read, nullptr) ||
      read != static_cast<DWORD>(size.QuadPart)) {
    body.resize(start);
    return false;
  }
  return true;
}

}  // namespace

int UploadPhoto(ServiceClient& client, const std::string& authstr, const std::string& tags,
                const std::string& photostatus, const std::string& filePath, const std::string& title,
                int32_t& photoId) {
  const UniqueInternetHandle request = client.OpenRequest("POST", kUploadObjectPath);
  if (!request) return kResultNoExchange;

  std::string body;
  try {
    body = UploadBodyHead(UploadFields{authstr, tags, photostatus, title, filePath});
    const auto beginpos = static_cast<int32_t>(body.size());
    // The file part is followed by at most a few hundred bytes of text.
    body.reserve(kUploadBodyBufferSize);
    if (!AppendFileContent(filePath, body)) {
      photoId = 0;
      return kResultOk;
    }
    AppendUploadBodyTail(body, beginpos, static_cast<int32_t>(body.size()));
  } catch (const std::exception&) {
    photoId = 0;
    return kResultOk;
  }

  photoId = 0;
  const Exchange exchange = ServiceClient::SendOpenedRequest(request, UploadHeaderBlock(body.size()), body);
  if (exchange.outcome == ExchangeOutcome::NotSent) return kResultNoExchange;
  if (exchange.outcome == ExchangeOutcome::Replied && AttributeValue(exchange.reply, "stat") == "ok") {
    photoId = ReplyNumber(AttributeValue(exchange.reply, "photoid"));
  }
  return kResultOk;
}

}  // namespace fernwick
