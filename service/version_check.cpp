#include "service/version_check.h"

#include <exception>

#include "base/log.h"
#include "service/core/reply_rules.h"
#include "service/service_client.h"

namespace fernwick {

int CheckVersion(VersionInfo& info) {
  try {
    ServiceClient client;
    if (client.Open() != kResultOk) {
      LogRequest("version check", 0, kResultNoExchange);
      return kResultNoExchange;
    }
    const Exchange exchange = client.SendRequest("GET", "/upload/versioncheck.aspx");
    if (exchange.outcome != ExchangeOutcome::Replied) {
      LogRequest("version check", exchange.httpStatus, kResultNoExchange, exchange.systemError);
      return kResultNoExchange;
    }
    VersionInfo answer;
    answer.versionId = AttributeValue(exchange.reply, "versionID");
    answer.versionUrl = AttributeValue(exchange.reply, "versionURL");
    answer.isUpgrade = AttributeValue(exchange.reply, "isupgrade");
    info = std::move(answer);
    LogRequest("version check", exchange.httpStatus, kResultOk);
    return kResultOk;
  } catch (...) {
    // Passed over like an unreachable server.
    LogCaughtException("version check");
    return kResultNoExchange;
  }
}

}  // namespace fernwick
