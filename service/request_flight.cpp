#include "service/request_flight.h"

#include <algorithm>
#include <memory>
#include <thread>

#include "base/log.h"
#include "service/core/reply_rules.h"
#include "service/core/transfer_limits.h"

namespace fernwick {

namespace {

// How often the asking thread looks at the cancel flag: Cancel must end a request well within
// a second.
constexpr auto kLookEvery = std::chrono::milliseconds(50);

// Shared by the asking thread and the request's thread; the last one to let go frees it.
struct Flight {
  Flight() = default;
  Flight(const Flight&) = delete;
  Flight& operator=(const Flight&) = delete;
  ~Flight() = default;
  // Set before the flight's thread starts. Closed by exactly one side, decided under `lock`:
  // by the flight's thread when it finishes while the asker still waits, or by the asker when
  // it leaves. Never later: once the asker has returned, its connection may be closed (which
  // frees this handle's value) and the value given to its next request, which a late close
  // here would then cut off.
  UniqueInternetHandle request;
  std::string headers;
  std::string body;
  bool inPieces = false;
  size_t replyLimit = 0;
  SendProgress progress;  // called under `lock` while the asker still waits

  std::mutex lock;
  std::condition_variable changed;
  bool finished = false;
  bool left = false;  // the asker has gone: no more progress, the result is nobody's
  // `left`, readable without the lock: a flight that has been left starts no further WinINet
  // call with a handle value the asker has closed.
  std::atomic<bool> abandoned{false};
  std::atomic<uint64_t> lastMove{::GetTickCount64()};
  std::atomic<bool> bodySent{false};
  FlightResult result;

  void Moved(uint64_t sent, uint64_t total) {
    lastMove.store(::GetTickCount64());
    std::lock_guard guard(lock);
    if (!left && progress) progress(sent, total);
  }
};

int StatusCode(HINTERNET request) {
  char status[80] = {};
  DWORD length = sizeof(status);
  if (!::HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE, status, &length, nullptr)) return 0;
  return ReplyNumber(std::string_view(status, strnlen(status, sizeof(status))));
}

// Reads until the limit or the end of the reply: a single InternetReadFile may return only
// part of what the server sent, and the reply's first bytes are what the rules look at.
std::string ReadReply(Flight& flight) {
  std::string reply(flight.replyLimit, '\0');
  size_t filled = 0;
  while (filled < flight.replyLimit && !flight.abandoned.load()) {
    DWORD got = 0;
    if (!::InternetReadFile(flight.request.get(), reply.data() + filled, static_cast<DWORD>(flight.replyLimit - filled),
                            &got) ||
        got == 0) {
      break;
    }
    flight.lastMove.store(::GetTickCount64());
    filled += got;
  }
  reply.resize(filled);
  return reply;
}

bool SendWhole(Flight& flight) {
  const HINTERNET request = flight.request.get();
  const std::string& body = flight.body;
  const BOOL sent = ::HttpSendRequestA(request, flight.headers.empty() ? nullptr : flight.headers.data(),
                                       static_cast<DWORD>(flight.headers.size()),
                                       body.empty() ? nullptr : const_cast<char*>(body.data()),
                                       static_cast<DWORD>(body.size()));
  flight.bodySent.store(sent != FALSE);
  return sent != FALSE;
}

bool SendInPieces(Flight& flight) {
  const HINTERNET request = flight.request.get();
  const std::string& body = flight.body;
  INTERNET_BUFFERSA buffers{};
  buffers.dwStructSize = sizeof(buffers);
  buffers.lpcszHeader = flight.headers.empty() ? nullptr : flight.headers.c_str();
  buffers.dwHeadersLength = static_cast<DWORD>(flight.headers.size());
  buffers.dwBufferTotal = static_cast<DWORD>(body.size());
  if (!::HttpSendRequestExA(request, &buffers, nullptr, 0, 0)) return false;
  flight.Moved(0, body.size());
  for (size_t at = 0; at < body.size();) {
    if (flight.abandoned.load()) return false;
    const DWORD piece = static_cast<DWORD>(std::min(kBodyPieceSize, body.size() - at));
    DWORD written = 0;
    if (!::InternetWriteFile(request, body.data() + at, piece, &written) || written == 0) return false;
    at += written;
    flight.Moved(at, body.size());
  }
  flight.bodySent.store(true);
  if (flight.abandoned.load()) return false;
  return ::HttpEndRequestA(request, nullptr, 0, 0) != FALSE;
}

// The request's whole exchange, on whichever thread runs it.
void Fly(Flight& flight) noexcept {
  FlightResult result;
  try {
    result.sent = flight.inPieces ? SendInPieces(flight) : SendWhole(flight);
    if (result.sent && !flight.abandoned.load()) {
      result.httpStatus = StatusCode(flight.request.get());
      if (result.httpStatus == 200) result.reply = ReadReply(flight);
    } else {
      result.systemError = ::GetLastError();
    }
  } catch (...) {
    LogCaughtException("request in flight");
  }
  result.bodySent = flight.bodySent.load();
  std::lock_guard guard(flight.lock);
  if (flight.left) {
    (void)flight.request.release();  // the asker has closed it
    return;
  }
  flight.request.reset();
  flight.result = std::move(result);
  flight.finished = true;
  flight.changed.notify_all();
}

}  // namespace

FlightResult FlyRequest(UniqueInternetHandle request, std::string headers, std::string body, bool inPieces,
                        const SendProgress& progress, const std::atomic<bool>* cancel, unsigned stallMs,
                        size_t replyLimit) {
  auto flight = std::make_shared<Flight>();
  flight->request = std::move(request);
  flight->headers = std::move(headers);
  flight->body = std::move(body);
  flight->inPieces = inPieces;
  flight->replyLimit = replyLimit;
  flight->progress = progress;
  try {
    std::thread([flight] { Fly(*flight); }).detach();
  } catch (...) {
    // No thread for it: the request runs here, with WinINet's own timeouts as its only limit.
    LogCaughtException("request thread");
    Fly(*flight);
  }
  std::unique_lock guard(flight->lock);
  while (!flight->finished) {
    flight->changed.wait_for(guard, kLookEvery);
    if (flight->finished) break;
    WatchEnd why = WatchEnd::None;
    if (cancel && cancel->load()) {
      why = WatchEnd::Cancelled;
    } else if (::GetTickCount64() - flight->lastMove.load() >= stallMs) {
      why = WatchEnd::Stalled;
    }
    if (why == WatchEnd::None) continue;
    flight->left = true;
    flight->abandoned.store(true);
    FlightResult result;
    result.bodySent = flight->bodySent.load();
    result.aborted = why;
    const HINTERNET request = flight->request.get();
    guard.unlock();
    // WinINet's documented abort of a blocked call; the flight's thread no longer closes it.
    ::InternetCloseHandle(request);
    return result;
  }
  return std::move(flight->result);
}

}  // namespace fernwick
