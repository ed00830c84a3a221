#include "service/service_client.h"

#include <algorithm>
#include <utility>

#include "base/log.h"
#include "service/core/reply_rules.h"
#include "service/core/service_endpoint.h"
#include "service/core/transfer_limits.h"

namespace fernwick {

namespace {

// WinINet's own timers, for every request of the session: they cover a connection that is never
// made and a send or a read that blocks; the request's own watch covers the rest.
void SetTimeouts(HINTERNET internet) {
  const TransferLimits limits = CurrentTransferLimits();
  const std::pair<DWORD, DWORD> options[] = {{INTERNET_OPTION_CONNECT_TIMEOUT, limits.connectMs},
                                             {INTERNET_OPTION_SEND_TIMEOUT, limits.stallMs},
                                             {INTERNET_OPTION_RECEIVE_TIMEOUT, limits.stallMs}};
  for (auto [option, value] : options) {
    if (!::InternetSetOptionA(internet, option, &value, sizeof(value))) {
      LogLastError("service: a timeout cannot be set");
    }
  }
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
  SetTimeouts(internet.get());
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

Exchange ServiceClient::Run(UniqueInternetHandle request, std::string headers, std::string body, bool inPieces,
                           const SendProgress& progress) {
  Exchange exchange;
  if (!request) {
    // OpenRequest has just failed: its error is still the thread's last one.
    exchange.systemError = ::GetLastError();
    return exchange;
  }
  // Only a photo (the one request sent in pieces) is let finish after a Cancel.
  FlightResult flight =
      FlyRequest(std::move(request), std::move(headers), std::move(body), inPieces, progress, cut_,
                 CurrentTransferLimits().stallMs, kReplyLimit, cancel_, inPieces ? kCancelGraceMs : 0);
  // The largest body so far keeps its room: the token requests between photos have none.
  if (flight.body.capacity() > spareBody_.capacity()) spareBody_ = std::move(flight.body);
  exchange.bodySent = flight.bodySent;
  exchange.aborted = flight.aborted;
  exchange.systemError = flight.systemError;
  exchange.httpStatus = flight.httpStatus;
  if (flight.aborted != WatchEnd::None || !flight.sent) {
    exchange.outcome = flight.bodySent ? ExchangeOutcome::AnswerLost : ExchangeOutcome::NotSent;
    return exchange;
  }
  exchange.outcome = flight.httpStatus == 200 ? ExchangeOutcome::Replied : ExchangeOutcome::StatusNot200;
  exchange.reply = std::move(flight.reply);
  return exchange;
}

std::string ServiceClient::TakeBodyBuffer() noexcept {
  std::string buffer = std::move(spareBody_);
  buffer.clear();
  return buffer;
}

Exchange ServiceClient::SendOpenedRequest(UniqueInternetHandle request, std::string headers, std::string body,
                                          const SendProgress& progress) {
  return Run(std::move(request), std::move(headers), std::move(body), true, progress);
}

Exchange ServiceClient::SendRequest(const char* verb, const std::string& objectPath, std::string_view headers,
                                    std::string_view body) {
  return Run(OpenRequest(verb, objectPath), std::string(headers), std::string(body), false, {});
}

}  // namespace fernwick
