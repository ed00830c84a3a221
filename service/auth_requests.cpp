#include "service/auth_requests.h"

#include <exception>

#include "service/core/auth_rules.h"
#include "service/core/reply_rules.h"
#include "service/service_client.h"

namespace fernwick {

namespace {

void FillQuota(const std::string& reply, AuthReply& out) {
  out.limit = ReplyNumber(ElementText(reply, "limit"));
  out.used = ReplyNumber(ElementText(reply, "used"));
  out.blogname = ElementText(reply, "blogname");
}

}  // namespace

int AuthenticateWithPassword(ServiceClient& client, const std::string& userName, const std::string& password,
                             AuthReply& reply) {
  const Exchange exchange = client.SendRequest("GET", PasswordAuthPath(userName, password));
  if (exchange.outcome != ExchangeOutcome::Replied) return kResultNoExchange;
  std::string stat = ReplyStatus(exchange.reply);
  if (stat != "ok") return kResultRefused;
  reply.stat = std::move(stat);
  reply.authstr = ElementText(exchange.reply, "authstr");
  FillQuota(exchange.reply, reply);
  return kResultOk;
}

int AuthenticateWithToken(ServiceClient& client, const std::string& authstr, AuthReply& reply) {
  const Exchange exchange = client.SendRequest("GET", TokenAuthPath(authstr));
  if (exchange.outcome != ExchangeOutcome::Replied) return kResultNoExchange;
  std::string stat = ReplyStatus(exchange.reply);
  if (stat == "0k") return kResultTokenZeroK;
  if (stat != "ok") return kResultRefused;
  reply.stat = std::move(stat);
  FillQuota(exchange.reply, reply);
  return kResultOk;
}

int SignIn(const std::string& userName, const std::string& password, std::string& authstr, int& percent,
           std::string& blogName) {
  int result = kResultNoExchange;
  try {
    ServiceClient client;
    if (client.Open() != kResultOk) return kResultNoExchange;
    AuthReply reply;
    result = AuthenticateWithPassword(client, userName, password, reply);
    if (result == kResultOk) {
      authstr = reply.authstr;
      blogName = reply.blogname;
      percent = UsagePercent(reply.limit, reply.used);
    }
  } catch (const std::exception&) {
    // The sign-in check is silent about failures of its own; the code reached stands.
  }
  return result;
}

}  // namespace fernwick
