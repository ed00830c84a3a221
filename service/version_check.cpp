#include "service/version_check.h"

#include <exception>

#include "service/core/reply_rules.h"
#include "service/service_client.h"

namespace fernwick {

int CheckVersion(VersionInfo& info) {
  try {
    ServiceClient client;
    if (client.Open() != kResultOk) return kResultNoExchange;
    const Exchange exchange = client.SendRequest("GET", "/upload/versioncheck.aspx");
    if (exchange.outcome != ExchangeOutcome::Replied) return kResultNoExchange;
    VersionInfo answer;
    answer.versionId = AttributeValue(exchange.reply, "versionID");
    answer.versionUrl = AttributeValue(exchange.reply, "versionURL");
    answer.isUpgrade = AttributeValue(exchange.reply, "isupgrade");
    info = std::move(answer);
    return kResultOk;
  } catch (const std::exception&) {
    return kResultNoExchange;
  }
}

}  // namespace fernwick
