#include "service/upload_request.h"

#include <exception>

#include "base/handles.h"
#include "base/log.h"
#include "base/text_936.h"
#include "service/core/reply_rules.h"
#include "service/core/upload_body.h"
#include "service/service_client.h"

namespace fernwick {

namespace {

// Appends the whole file to the body with one read; nothing when it cannot be opened or
// read whole, or when it is larger than the body leaves room for.
bool AppendFileContent(const std::wstring& filePath, std::string& body) {
  UniqueFile file(::CreateFileW(filePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    LogLastError("upload: the photo's file cannot be opened");
    return false;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) {
    LogLastError("upload: the photo's file size cannot be read");
    return false;
  }
  if (!FileFitsUpload(static_cast<uint64_t>(size.QuadPart))) {
    LogFailure("upload: the photo's file is too large to send");
    return false;
  }
  const size_t start = body.size();
  body.resize(start + static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!::ReadFile(file.get(), body.data() + start, static_cast<DWORD>(size.QuadPart), &read, nullptr) ||
      read != static_cast<DWORD>(size.QuadPart)) {
    LogLastError("upload: the photo's file cannot be read whole");
    body.resize(start);
    return false;
  }
  return true;
}

}  // namespace

int UploadPhoto(ServiceClient& client, const std::string& authstr, const std::string& tags,
                const std::string& photostatus, const std::wstring& filePath, const std::wstring& title,
                int32_t& photoId) {
  const UniqueInternetHandle request = client.OpenRequest("POST", kUploadObjectPath);
  if (!request) {
    LogRequest("upload", 0, kResultNoExchange, ::GetLastError());
    return kResultNoExchange;
  }

  std::string body;
  try {
    const std::string titleBytes = To936Lossy(title);
    const std::string pathBytes = To936Lossy(filePath);
    body = UploadBodyHead(UploadFields{authstr, tags, photostatus, titleBytes, pathBytes});
    const auto beginpos = static_cast<int32_t>(body.size());
    // The file part is followed by at most a few hundred bytes of text.
    body.reserve(kUploadBodyBufferSize);
    if (!AppendFileContent(filePath, body)) {
      photoId = 0;
      return kResultOk;
    }
    AppendUploadBodyTail(body, beginpos, static_cast<int32_t>(body.size()));
  } catch (...) {
    // No memory for the body: like a file too large, nothing is sent.
    LogCaughtException("upload body");
    photoId = 0;
    return kResultOk;
  }

  photoId = 0;
  const Exchange exchange = ServiceClient::SendOpenedRequest(request, UploadHeaderBlock(body.size()), body);
  if (exchange.outcome == ExchangeOutcome::NotSent) {
    LogRequest("upload", 0, kResultNoExchange, exchange.systemError);
    return kResultNoExchange;
  }
  if (exchange.outcome == ExchangeOutcome::Replied && AttributeValue(exchange.reply, "stat") == "ok") {
    photoId = ReplyNumber(AttributeValue(exchange.reply, "photoid"));
  }
  LogRequest("upload", exchange.httpStatus, kResultOk);
  // The worker passes over a photo that did not arrive without a word; this is its trace.
  if (photoId == 0) LogFailure("upload: the server gave no photo id, the photo did not arrive");
  return kResultOk;
}

}  // namespace fernwick
