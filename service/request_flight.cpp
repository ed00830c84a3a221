#include "service/request_flight.h"

#include <algorithm>
#include <memory>

#include "base/log.h"
#include "service/core/reply_rules.h"
#include "service/core/transfer_limits.h"

namespace fernwick {

namespace {

// How often the asking thread looks at the cancel flag and the stall clock while it waits; an
// answer that comes wakes it at once, so this bounds only how late a Cancel or a stall is seen.
constexpr auto kLookEvery = std::chrono::milliseconds(50);
// How often the body's progress is reported while it goes: each report is a hand-off to the
// UI thread and two bars repainted, which per 64 KB piece cost a batch on a fast line more than
// its pieces. The start and the last byte are always reported.
constexpr uint64_t kReportEveryMs = 50;
// How long a leaving asker waits for a call whose handle it has closed to come back.
constexpr auto kCallComesBack = std::chrono::milliseconds(250);

// Who may use the request's handle, and who closes it.
//
// The handle is held by the flight's state, and every WinINet call the flight's thread makes
// on it goes through Call(), which under `lock` takes the handle's value and marks the thread
// as inside a call, or refuses once the asker has left. When the asker leaves (Cancel, a
// stall), it marks the flight as left and takes the handle out of the state under the same
// lock, so the thread starts no call on it any more, and closes it: when the thread is inside
// a call, that is WinINet's documented abort of the blocked call, and the call in progress
// holds WinINet's own reference to the request; otherwise (between two calls, or not started
// yet on its pool thread) it is a plain close, and the thread finds the flight left at its
// next Call. Either way the value is closed exactly once, by the asker, before it returns,
// while the connection it belongs to is still open; the thread, which never finds a handle to
// close any more, finishes alone.
//
// One gap is left to time: the thread takes the value under the lock but enters WinINet just
// after. Closed in between, the value could be given to the asker's next request before the
// call looks it up. So the asker waits, briefly, for a call it closed to come back; a blocked
// call that Wine does not end is inside WinINet already and holds its own reference.
struct Flight {
  enum class Phase { Between, InCall, Done };

  Flight() = default;
  Flight(const Flight&) = delete;
  Flight& operator=(const Flight&) = delete;
  ~Flight() = default;

  UniqueInternetHandle request;  // empty once the asker has taken it to close it
  std::string headers;
  std::string body;
  bool inPieces = false;
  size_t replyLimit = 0;
  SendProgress progress;  // called under `lock` while the asker still waits

  std::mutex lock;
  std::condition_variable changed;
  Phase phase = Phase::Between;
  bool finished = false;  // the result is there for the asker
  bool left = false;      // the asker has gone: no more calls or progress, the result is nobody's
  std::atomic<uint64_t> lastMove{::GetTickCount64()};
  uint64_t lastReport = 0;  // the flight's thread's own
  std::atomic<bool> bodySent{false};
  unsigned long callError = 0;  // GetLastError of the last call that failed
  FlightResult result;

  // Runs `call` with the request's handle unless the asker has left; false when it has, or
  // when the call failed (its error is kept).
  template <class Work>
  bool Call(Work&& call) {
    HINTERNET handle = nullptr;
    {
      std::lock_guard guard(lock);
      if (left) return false;
      phase = Phase::InCall;
      handle = request.get();
    }
    const bool done = call(handle);
    const unsigned long error = done ? 0 : ::GetLastError();
    std::lock_guard guard(lock);
    if (!done) callError = error;
    phase = Phase::Between;
    if (left) changed.notify_all();  // only a leaving asker waits for this
    return done;
  }

  void Moved(uint64_t sent, uint64_t total) {
    const uint64_t now = ::GetTickCount64();
    lastMove.store(now);
    if (sent != 0 && sent != total && now - lastReport < kReportEveryMs) return;
    lastReport = now;
    std::lock_guard guard(lock);
    if (!left && progress) progress(sent, total);
  }
};

int StatusCode(Flight& flight) {
  char status[80] = {};
  const bool read = flight.Call([&](HINTERNET request) {
    DWORD length = sizeof(status);
    return ::HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE, status, &length, nullptr) != FALSE;
  });
  return read ? ReplyNumber(std::string_view(status, strnlen(status, sizeof(status)))) : 0;
}

// Reads until the limit or the end of the reply: a single InternetReadFile may return only
// part of what the server sent, and the reply's first bytes are what the rules look at.
std::string ReadReply(Flight& flight) {
  std::string reply(flight.replyLimit, '\0');
  size_t filled = 0;
  while (filled < flight.replyLimit) {
    DWORD got = 0;
    const bool read = flight.Call([&](HINTERNET request) {
      return ::InternetReadFile(request, reply.data() + filled, static_cast<DWORD>(flight.replyLimit - filled),
                                &got) != FALSE;
    });
    if (!read || got == 0) break;
    flight.lastMove.store(::GetTickCount64());
    filled += got;
  }
  reply.resize(filled);
  return reply;
}

bool SendWhole(Flight& flight) {
  const std::string& body = flight.body;
  const bool sent = flight.Call([&](HINTERNET request) {
    return ::HttpSendRequestA(request, flight.headers.empty() ? nullptr : flight.headers.data(),
                              static_cast<DWORD>(flight.headers.size()),
                              body.empty() ? nullptr : const_cast<char*>(body.data()),
                              static_cast<DWORD>(body.size())) != FALSE;
  });
  flight.bodySent.store(sent);
  return sent;
}

bool SendInPieces(Flight& flight) {
  const std::string& body = flight.body;
  INTERNET_BUFFERSA buffers{};
  buffers.dwStructSize = sizeof(buffers);
  buffers.lpcszHeader = flight.headers.empty() ? nullptr : flight.headers.c_str();
  buffers.dwHeadersLength = static_cast<DWORD>(flight.headers.size());
  buffers.dwBufferTotal = static_cast<DWORD>(body.size());
  if (!flight.Call([&](HINTERNET request) { return ::HttpSendRequestExA(request, &buffers, nullptr, 0, 0) != FALSE; })) {
    return false;
  }
  flight.Moved(0, body.size());
  for (size_t at = 0; at < body.size();) {
    const DWORD piece = static_cast<DWORD>(std::min(kBodyPieceSize, body.size() - at));
    DWORD written = 0;
    const bool wrote = flight.Call([&](HINTERNET request) {
      return ::InternetWriteFile(request, body.data() + at, piece, &written) != FALSE;
    });
    if (!wrote || written == 0) return false;
    at += written;
    flight.Moved(at, body.size());
  }
  flight.bodySent.store(true);
  return flight.Call([](HINTERNET request) { return ::HttpEndRequestA(request, nullptr, 0, 0) != FALSE; });
}

// The request's whole exchange, on whichever thread runs it.
void Fly(Flight& flight) noexcept {
  FlightResult result;
  try {
    result.sent = flight.inPieces ? SendInPieces(flight) : SendWhole(flight);
    if (result.sent) {
      result.httpStatus = StatusCode(flight);
      if (result.httpStatus == 200) result.reply = ReadReply(flight);
    }
  } catch (...) {
    LogCaughtException("request in flight");
  }
  result.bodySent = flight.bodySent.load();
  std::lock_guard guard(flight.lock);
  if (!result.sent) result.systemError = flight.callError;
  // Empty when the asker took it as it left; else ours to close while the asker still waits.
  flight.request.reset();
  flight.phase = Flight::Phase::Done;
  if (!flight.left) {
    flight.result = std::move(result);
    flight.finished = true;
  }
  flight.changed.notify_all();
}

// The flight's own reference, handed to the pool thread that runs it.
using FlightRef = std::shared_ptr<Flight>;

void CALLBACK FlyOnPool(PTP_CALLBACK_INSTANCE, void* context) noexcept {
  const std::unique_ptr<FlightRef> flight(static_cast<FlightRef*>(context));
  Fly(**flight);
}

// Runs the flight on a thread of the system's pool, which keeps its threads for the next
// request: under Wine a thread of its own took 3 to 5 ms to start, for every request. A thread
// held by a call that never returns is simply not given back; the pool makes another.
bool StartOnPool(const FlightRef& flight) {
  try {
    auto reference = std::make_unique<FlightRef>(flight);
    if (!::TrySubmitThreadpoolCallback(FlyOnPool, reference.get(), nullptr)) {
      LogLastError("request in flight: no thread of the pool for it");
      return false;
    }
    reference.release();  // the callback's now
    return true;
  } catch (...) {
    LogCaughtException("request thread");
    return false;
  }
}

}  // namespace

FlightResult FlyRequest(UniqueInternetHandle request, std::string headers, std::string body, bool inPieces,
                        const SendProgress& progress, const std::atomic<bool>* cancel, unsigned stallMs,
                        size_t replyLimit, const std::atomic<bool>* windDown, unsigned graceMs) {
  auto flight = std::make_shared<Flight>();
  flight->request = std::move(request);
  flight->headers = std::move(headers);
  flight->body = std::move(body);
  flight->inPieces = inPieces;
  flight->replyLimit = replyLimit;
  flight->progress = progress;
  if (!StartOnPool(flight)) {
    // No thread for it: the request runs here, with WinINet's own timeouts as its only limit.
    Fly(*flight);
  }
  uint64_t windingDownSince = 0;  // when `windDown` was first seen raised
  std::unique_lock guard(flight->lock);
  while (!flight->finished) {
    flight->changed.wait_for(guard, kLookEvery);
    if (flight->finished) break;
    WatchEnd why = WatchEnd::None;
    const uint64_t now = ::GetTickCount64();
    const uint64_t last = flight->lastMove.load();
    if (windDown && windDown->load() && windingDownSince == 0) windingDownSince = now;
    // The thread may have moved since `now`.
    const auto stillFor = [&](uint64_t since) { return now > since ? now - since : 0; };
    if (cancel && cancel->load()) {
      why = WatchEnd::Cancelled;
    } else if (windingDownSince != 0 && stillFor(std::max(windingDownSince, last)) >= graceMs) {
      why = WatchEnd::Cancelled;
    } else if (stillFor(last) >= stallMs) {
      why = WatchEnd::Stalled;
    }
    if (why == WatchEnd::None) continue;
    flight->left = true;
    FlightResult result;
    result.bodySent = flight->bodySent.load();
    result.aborted = why;
    UniqueInternetHandle taken = std::move(flight->request);
    guard.unlock();
    taken.reset();
    guard.lock();
    flight->changed.wait_for(guard, kCallComesBack, [&] { return flight->phase != Flight::Phase::InCall; });
    return result;
  }
  FlightResult result = std::move(flight->result);
  result.body = std::move(flight->body);  // the flight's thread is done with it
  return result;
}

}  // namespace fernwick
