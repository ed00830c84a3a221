#pragma once
// Faults armed by tests through the control endpoint: each applies to one path (or to every
// path with "*") for a number of requests, then disarms itself.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace refserver {

enum class FaultKind {
  Status,    // answer with this HTTP status and a short body
  Delay,     // wait this many milliseconds before answering
  Drop,      // read the whole request, then close the connection without answering
  Reset,     // reset the connection as soon as the request's head has arrived
  Truncate,  // send the headers and only this many bytes of the body, then close
  Garble,    // scramble the reply body's bytes (value: seed)
  Oversize,  // add this many bytes of padding after the reply body
  Lead,      // add this many bytes of padding before the reply body
  ZeroK,     // the token request answers "0k"
  Capitals,  // the reply's status is "OK"
  Body,      // answer 200 with exactly this text (may be empty)
  Trickle,   // write the reply in pieces of this many bytes, 50 ms apart
  Stall,     // once the request's head has arrived, read nothing for this many milliseconds, then reset
  Crawl,     // read the request's body in pieces of this many bytes, 50 ms apart: slow, but moving
};

std::optional<FaultKind> FaultKindNamed(std::string_view name);

struct Fault {
  FaultKind kind = FaultKind::Status;
  std::string path = "*";
  long value = 0;
  std::string text;   // for Body
  int remaining = 1;  // requests it still applies to; negative: until cleared
};

class FaultPlan {
 public:
  void Arm(Fault fault);
  void Clear();
  // The value of the first armed fault of this kind for the path, counting one use.
  std::optional<long> Take(FaultKind kind, std::string_view path);
  // The same for the whole fault (Body needs its text).
  std::optional<Fault> TakeFault(FaultKind kind, std::string_view path);
  // Sleeps for a delay or a stall, or until the faults are cleared: a test that clears them
  // wants the server as it was, and a connection held meanwhile must not hold up a restart.
  void Sleep(long milliseconds);

 private:
  std::mutex lock_;
  std::condition_variable cleared_;
  uint64_t clearings_ = 0;
  std::vector<Fault> faults_;
};

// The raw bytes of the latest requests (control requests excluded), for byte-exact tests.
class RequestLog {
 public:
  void Add(std::string raw);
  // 0 is the latest.
  std::optional<std::string> Get(size_t back);
  size_t Count();
  void Clear();

 private:
  static constexpr size_t kKept = 16;
  std::mutex lock_;
  std::vector<std::string> requests_;
  size_t total_ = 0;
};

}  // namespace refserver
