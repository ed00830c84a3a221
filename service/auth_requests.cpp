#include "service/auth_requests.h"

#include <exception>
#include <optional>

#include "base/log.h"
#include "base/text_936.h"
#include "service/core/auth_rules.h"
#include "service/core/reply_rules.h"
#include "service/service_client.h"

namespace fernwick {

namespace {

// The requests are logged by name and outcome only: their paths carry the password or the
// token.
int Logged(LogText request, const Exchange& exchange, int result) noexcept {
  LogRequest(request, exchange.httpStatus, result, exchange.systemError);
  return result;
}

void FillQuota(const std::string& reply, AuthReply& out) {
  out.limit = ReplyNumber(ElementText(reply, "limit"));
  out.used = ReplyNumber(ElementText(reply, "used"));
  out.blogname = ElementText(reply, "blogname");
}

}  // namespace

int AuthenticateWithPassword(ServiceClient& client, const std::wstring& userName, const std::wstring& password,
                             AuthReply& reply) {
  const std::optional<std::string> name = To936Exact(userName);
  const std::optional<std::string> secret = To936Exact(password);
  if (!name || !secret) return Logged("sign-in", Exchange{}, kResultRefused);
  const Exchange exchange = client.SendRequest("GET", PasswordAuthPath(*name, *secret));
  if (exchange.outcome != ExchangeOutcome::Replied) return Logged("sign-in", exchange, kResultNoExchange);
  std::string stat = ReplyStatus(exchange.reply);
  if (stat != "ok") return Logged("sign-in", exchange, kResultRefused);
  reply.stat = std::move(stat);
  reply.authstr = ElementText(exchange.reply, "authstr");
  FillQuota(exchange.reply, reply);
  return Logged("sign-in", exchange, kResultOk);
}

int AuthenticateWithToken(ServiceClient& client, const std::string& authstr, AuthReply& reply) {
  const Exchange exchange = client.SendRequest("GET", TokenAuthPath(authstr));
  if (exchange.outcome != ExchangeOutcome::Replied) return Logged("token", exchange, kResultNoExchange);
  std::string stat = ReplyStatus(exchange.reply);
  if (stat == "0k") return Logged("token", exchange, kResultTokenZeroK);
  if (stat != "ok") return Logged("token", exchange, kResultRefused);
  reply.stat = std::move(stat);
  FillQuota(exchange.reply, reply);
  return Logged("token", exchange, kResultOk);
}

int SignIn(const std::wstring& userName, const std::wstring& password, std::string& authstr, int& percent,
           std::string& blogName) {
  int result = kResultNoExchange;
  try {
    ServiceClient client;
    if (client.Open() != kResultOk) {
      LogRequest("sign-in", 0, kResultNoExchange);
      return kResultNoExchange;
    }
    AuthReply reply;
    result = AuthenticateWithPassword(client, userName, password, reply);
    if (result == kResultOk) {
      authstr = reply.authstr;
      blogName = reply.blogname;
      percent = UsagePercent(reply.limit, reply.used);
    }
  } catch (...) {
    // The sign-in check is silent about failures of its own; the code reached stands.
    LogCaughtException("sign-in check");
  }
  return result;
}

}  // namespace fernwick
