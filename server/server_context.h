#pragma once
// What every route of the reference server reaches.
#include <functional>
#include <string>

#include "fault_plan.h"
#include "store.h"

namespace refserver {

struct ServerContext {
  Store& store;
  FaultPlan& faults;
  RequestLog& log;
  std::string baseUrl;  // "http://host:port", once the port is known
  // Stops listening for this many milliseconds (connections are refused meanwhile), then
  // listens on the same port again, as a server stopped and started again; the data stay.
  std::function<void(long)> pauseListening;
};

// Default settings, used while the seed file or flags give none.
inline constexpr char kDefaultTokenTtl[] = "7200";   // seconds a token stays valid
inline constexpr char kDefaultQuota[] = "20971520";  // bytes a month for new accounts
inline constexpr char kDefaultVersionId[] = "1.0";
inline constexpr char kDownloadPath[] = "/download.htm";  // after baseUrl
inline constexpr char kDefaultIsUpgrade[] = "0";

}  // namespace refserver
