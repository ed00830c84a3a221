#pragma once
// cpp-httplib's server with the connection handled here: each request is read whole as raw
// bytes first (so that tests can see exactly what the program sent), then routed by httplib,
// and its answer is collected, changed by any armed fault, and only then written out. One
// request per connection, as HTTP/1.0 has it.
#include <httplib.h>

#include "fault_plan.h"

namespace refserver {

// What a multipart/form-data Content-Type reads as in the routes (the rest of the value,
// the boundary included, is kept).
inline constexpr char kRawMultipartType[] = "application/x-raw-multipart";

class RawHttpServer : public httplib::Server {
 public:
  RawHttpServer(FaultPlan& faults, RequestLog& log) : faults_(faults), log_(log) {}

 private:
  bool process_and_close_socket(socket_t sock) override;

  FaultPlan& faults_;
  RequestLog& log_;
};

// The reply with the faults for `path` applied (everything but Drop and Delay, which act on
// the connection). `response` is a whole HTTP response: head, blank line, body.
std::string ApplyReplyFaults(FaultPlan& faults, const std::string& path, std::string response);

}  // namespace refserver
