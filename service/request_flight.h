#pragma once
// One request in flight on another thread (one of the system pool's), so that the thread that
// asked for it can leave it at once: when the user cancels, or when no byte has moved for the
// stall limit (or, after a Cancel that lets it finish, for a shorter grace). WinINet's
// documented way to end a blocking call, closing its handle from another thread, is done too;
// but a blocking call does not always return when it is told to (Wine's does not), and the
// asking thread must not wait for it. A request left so finishes, or fails, on its own thread,
// which owns everything it uses and touches nothing of the caller's any more; it starts no
// WinINet call after it was left, and its handle is closed exactly once, before the asker
// returns (request_flight.cpp says how).
#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "base/internet_handle.h"

namespace fernwick {

enum class WatchEnd { None, Cancelled, Stalled };

struct FlightResult {
  bool sent = false;      // the request (head and body) went, and an answer's head came
  bool bodySent = false;  // every byte of the body went to the connection
  int httpStatus = 0;
  std::string reply;  // with status 200: the reply's first bytes
  unsigned long systemError = 0;
  WatchEnd aborted = WatchEnd::None;
  std::string body;  // the request's body given back, for the next one's buffer; empty when left
};

// Bytes of the body sent so far and the body's length.
using SendProgress = std::function<void(uint64_t sent, uint64_t total)>;

// Sends `request` with `headers` and `body` (whole, with HttpSendRequestA, or in pieces through
// HttpSendRequestEx when `inPieces`), reads the status and at most `replyLimit` bytes of a 200
// reply. Returns when it is done, when `cancel` is raised, or when nothing has moved for
// `stallMs`; after `windDown` is raised, when nothing has moved for `graceMs` since the later of
// its raising and the last move (0: at once). Either cut reads as cancelled. `progress` is
// called on the request's thread, never after this returns.
FlightResult FlyRequest(UniqueInternetHandle request, std::string headers, std::string body, bool inPieces,
                        const SendProgress& progress, const std::atomic<bool>* cancel, unsigned stallMs,
                        size_t replyLimit, const std::atomic<bool>* windDown = nullptr, unsigned graceMs = 0);

}  // namespace fernwick
