#include "service/service_client.h"

#include "base/log.h"
#include "service/core/reply_rules.h"
#include "service/core/service_endpoint.h"

namespace fernwick {

namespace {

// Reads until the limit or the end of the reply: a single InternetReadFile may return only
// part of what the server sent, and the reply's first bytes are what the rules look at.
std::string ReadReply(HINTERNET request) {
  std::string reply(kReplyLimit, '\0');
  size_t filled = 0;
  while (filled < kReplyLimit) {
    DWORD got = 0;
    if (!::InternetReadFile(request, reply.data() + filled, static_cast<DWORD>(kReplyLimit - filled), &got) ||
        got == 0) {
      break;
    }
    filled += got;
  }
  reply.resize(filled);
  return reply;
}

// The status code, or 0 when it cannot be read.
int StatusCode(HINTERNET request) {
  char status[80] = {};
  DWORD length = sizeof(status);
  if (!::HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE, status, &length, nullptr)) return 0;
  return ReplyNumber(std::string_view(status, strnlen(status, sizeof(status))));
}

}  // namespace

int ServiceClient::Open() {
  Close();
  UniqueInternetHandle internet(::InternetOpenA(kServiceAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  if (!internet) {
    LogLastError("service: the internet session cannot be opened");
    return kResultNoExchange;
  }
  const ServiceEndpoint endpoint = CurrentServiceEndpoint();
  UniqueInternetHandle connection(::InternetConnectA(internet.get(), endpoint.host.c_str(), endpoint.port, nullptr,
                                                     nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) {
    LogLastError("service: the connection to the upload server cannot be made");
    return kResultNoExchange;
  }
  internetHandle_ = std::move(internet);
  connectionHandle_ = std::move(connection);
  return kResultOk;
}

void ServiceClient::Close() noexcept {
  connectionHandle_.reset();
  internetHandle_.reset();
}

UniqueInternetHandle ServiceClient::OpenRequest(const char* verb, const std::string& objectPath) {
  if (!connectionHandle_) {
    ::SetLastError(ERROR_INVALID_HANDLE);  // what the log tells for a request on a closed client
    return UniqueInternetHandle();
  }
  return UniqueInternetHandle(::HttpOpenRequestA(connectionHandle_.get(), verb, objectPath.c_str(), "HTTP/1.0", nullptr,
                                                 nullptr, INTERNET_FLAG_NO_CACHE_WRITE, 0));
}

Exchange ServiceClient::SendOpenedRequest(const UniqueInternetHandle& request, std::string_view headers,
                                          std::string_view body) {
  Exchange exchange;
  if (!request) {
    // OpenRequest has just failed: its error is still the thread's last one.
    exchange.systemError = ::GetLastError();
    return exchange;
  }
  const BOOL sent =
      ::HttpSendRequestA(request.get(), headers.empty() ? nullptr : headers.data(), static_cast<DWORD>(headers.size()),
                         body.empty() ? nullptr : const_cast<char*>(body.data()), static_cast<DWORD>(body.size()));
  if (!sent) {
    exchange.systemError = ::GetLastError();
    return exchange;
  }
  exchange.httpStatus = StatusCode(request.get());
  if (exchange.httpStatus != 200) {
    exchange.outcome = ExchangeOutcome::StatusNot200;
    return exchange;
  }
  exchange.outcome = ExchangeOutcome::Replied;
  exchange.reply = ReadReply(request.get());
  return exchange;
}

Exchange ServiceClient::SendRequest(const char* verb, const std::string& objectPath, std::string_view headers,
                                    std::string_view body) {
  const UniqueInternetHandle request = OpenRequest(verb, objectPath);
  return SendOpenedRequest(request, headers, body);
}

}  // namespace fernwick
