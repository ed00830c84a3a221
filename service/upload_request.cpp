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
// read whole, or when it is larger than the body leaves room for (then `end` says which, and
// the log why, unless `quiet`).
bool AppendFileContent(const std::wstring& filePath, std::string& body, UploadEnd& end, bool quiet = false) {
  end = UploadEnd::Unreadable;
  UniqueFile file(::CreateFileW(filePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    if (!quiet) LogLastError("upload: the photo's file cannot be opened");
    return false;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) {
    if (!quiet) LogLastError("upload: the photo's file size cannot be read");
    return false;
  }
  if (!FileFitsUpload(static_cast<uint64_t>(size.QuadPart))) {
    if (!quiet) LogFailure("upload: the photo's file is too large to send");
    end = UploadEnd::TooLarge;
    return false;
  }
  const size_t start = body.size();
  body.resize(start + static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!::ReadFile(file.get(), body.data() + start, static_cast<DWORD>(size.QuadPart), &read, nullptr) ||
      read != static_cast<DWORD>(size.QuadPart)) {
    if (!quiet) LogLastError("upload: the photo's file cannot be read whole");
    body.resize(start);
    return false;
  }
  return true;
}

// How an exchange that went (at least in part) ended for the photo.
UploadEnd EndOf(const Exchange& exchange) {
  switch (exchange.outcome) {
    case ExchangeOutcome::NotSent:
      if (exchange.aborted == WatchEnd::Cancelled) return UploadEnd::Cancelled;
      return exchange.aborted == WatchEnd::None && exchange.systemError != ERROR_INTERNET_CANNOT_CONNECT &&
                     exchange.systemError != ERROR_INTERNET_NAME_NOT_RESOLVED &&
                     exchange.systemError != ERROR_INTERNET_TIMEOUT
                 ? UploadEnd::BrokenBeforeBody
                 : UploadEnd::NoConnection;
    case ExchangeOutcome::AnswerLost:
      return UploadEnd::AnswerLost;
    case ExchangeOutcome::StatusNot200:
      return EndOfStatus(exchange.httpStatus, exchange.bodySent);
    case ExchangeOutcome::Replied:
      break;
  }
  const std::string stat = AttributeValue(exchange.reply, "stat");
  if (stat == "ok")
    return ReplyNumber(AttributeValue(exchange.reply, "photoid")) > 0 ? UploadEnd::Stored : UploadEnd::AnswerLost;
  // A reply without a status is a garbled or cut one: the photo may have been stored.
  return stat.empty() ? UploadEnd::AnswerLost : UploadEnd::Refused;
}

}  // namespace

bool ReadPhotoAhead(const std::wstring& filePath, std::string& content) {
  content.clear();
  UploadEnd end;
  return AppendFileContent(filePath, content, end, true);
}

UploadAttempt SendPhoto(ServiceClient& client, const std::string& authstr, const std::string& tags,
                        const std::string& photostatus, const std::wstring& filePath, const std::wstring& title,
                        const SendProgress& progress, const std::string* readAhead) {
  UploadAttempt attempt;
  UniqueInternetHandle request = client.OpenRequest("POST", kUploadObjectPath);
  if (!request) {
    attempt.systemError = ::GetLastError();
    LogRequest("upload", 0, kResultNoExchange, attempt.systemError);
    return attempt;
  }

  std::string body = client.TakeBodyBuffer();
  try {
    const std::string titleBytes = To936Lossy(title);
    const std::string pathBytes = To936Lossy(filePath);
    body += UploadBodyHead(UploadFields{authstr, tags, photostatus, titleBytes, pathBytes});
    const auto beginpos = static_cast<int32_t>(body.size());
    // The file part is followed by at most a few hundred bytes of text.
    body.reserve(kUploadBodyBufferSize);
    if (readAhead) {
      body += *readAhead;
    } else if (!AppendFileContent(filePath, body, attempt.end)) {
      return attempt;
    }
    AppendUploadBodyTail(body, beginpos, static_cast<int32_t>(body.size()));
  } catch (...) {
    // No memory for the body: like a file too large, nothing is sent.
    LogCaughtException("upload body");
    attempt.end = UploadEnd::TooLarge;
    return attempt;
  }

  std::string headers = UploadHeaderBlock(body.size());
  const Exchange exchange = client.SendOpenedRequest(std::move(request), std::move(headers), std::move(body), progress);
  attempt.httpStatus = exchange.httpStatus;
  attempt.systemError = exchange.systemError;
  attempt.end = EndOf(exchange);
  if (attempt.end == UploadEnd::Stored) attempt.photoId = ReplyNumber(AttributeValue(exchange.reply, "photoid"));
  if (exchange.outcome == ExchangeOutcome::NotSent) {
    LogRequest("upload", 0, kResultNoExchange, exchange.systemError);
  } else {
    LogRequest("upload", exchange.httpStatus, kResultOk);
  }
  if (exchange.aborted == WatchEnd::Cancelled) {
    LogInfo("upload: cancelled while the photo was sent");
  } else if (exchange.aborted == WatchEnd::Stalled) {
    LogFailure("upload: nothing moved for the stall limit, the photo's request was cut off");
  }
  // The worker passes over a photo that did not arrive without a word; this is its trace.
  if (attempt.photoId == 0) LogFailure("upload: the server gave no photo id, the photo did not arrive");
  return attempt;
}

}  // namespace fernwick
