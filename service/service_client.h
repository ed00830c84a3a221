#pragma once
// One connection to the upload server, and the request exchange every request goes through:
// HTTP/1.0, nothing cached, no proxy, agent "Kestrelpost"; only status 200 counts, and at
// most the first 1024 bytes of a reply are kept.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "service/core/result_codes.h"
#include "base/internet_handle.h"
#include "service/request_flight.h"

namespace fernwick {

inline constexpr char kServiceAgent[] = "Kestrelpost";
inline constexpr size_t kReplyLimit = 1024;
// How long a photo being sent when Cancel is pressed may stand still before it is cut off.
inline constexpr unsigned kCancelGraceMs = 5000;

enum class ExchangeOutcome {
  NotSent,       // the request could not be opened or sent
  StatusNot200,  // sent; the server answered with another status (or none could be read)
  Replied,       // status 200; the reply text is the body's first (at most) 1024 bytes
  AnswerLost,    // the whole request went; its answer failed, stalled or was cancelled
};

struct Exchange {
  ExchangeOutcome outcome = ExchangeOutcome::NotSent;
  std::string reply;
  int httpStatus = 0;              // for the log: 0 when none was read
  unsigned long systemError = 0;   // for the log: GetLastError when the request was not opened or sent
  bool bodySent = false;           // every byte of the request went to the connection
  WatchEnd aborted = WatchEnd::None;  // the request was cut off: cancelled, or nothing moved
};


class ServiceClient {
 public:
  ServiceClient() = default;
  ~ServiceClient() { Close(); }
  ServiceClient(const ServiceClient&) = delete;
  ServiceClient& operator=(const ServiceClient&) = delete;

  // 0, or -2 when the session or the connection cannot be made.
  int Open();
  // The connection first, then the session; a client never opened is passed over.
  void Close() noexcept;
  bool IsOpen() const noexcept { return static_cast<bool>(connectionHandle_); }

  // The whole exchange: open, send (headers and body only for POST), status, reply.
  Exchange SendRequest(const char* verb, const std::string& objectPath, std::string_view headers = {},
                       std::string_view body = {});

  // The exchange in two steps, for the upload, which needs the request handle before it
  // builds its body. A null handle means the request could not be opened. The body goes in
  // pieces, each reported to `progress`; the bytes on the wire are those of SendRequest.
  UniqueInternetHandle OpenRequest(const char* verb, const std::string& objectPath);
  Exchange SendOpenedRequest(UniqueInternetHandle request, std::string headers, std::string body,
                             const SendProgress& progress = {});

  // From now on a raised `cut` aborts the request in flight at once, and a raised `cancel` every
  // request but a photo's: the photo being sent is let finish while its transfer moves, and cut
  // off only when nothing has moved for kCancelGraceMs since the Cancel (the flags must outlive
  // the client). Without them only the stall limit aborts a request.
  void AbortOn(const std::atomic<bool>* cut, const std::atomic<bool>* cancel = nullptr) noexcept {
    cut_ = cut;
    cancel_ = cancel;
  }

  // An empty buffer for the next body, with the room of the last one sent: a body of a few
  // megabytes in memory never touched before costs more to fill (under Wine, 3 ms for 1 MB)
  // than to send on a fast line.
  std::string TakeBodyBuffer() noexcept;

 private:
  Exchange Run(UniqueInternetHandle request, std::string headers, std::string body, bool inPieces,
               const SendProgress& progress);

  UniqueInternetHandle internetHandle_;
  UniqueInternetHandle connectionHandle_;
  const std::atomic<bool>* cut_ = nullptr;
  const std::atomic<bool>* cancel_ = nullptr;
  std::string spareBody_;
};

}  // namespace fernwick
