#include "control_routes.h"

#include <cstdlib>

#include "gbk_text.h"

namespace refserver {

namespace {

bool FromLoopback(const httplib::Request& request) {
  return request.remote_addr.rfind("127.", 0) == 0 || request.remote_addr == "::1";
}

using ControlHandler = void (*)(ServerContext&, const httplib::Request&, httplib::Response&);

void ArmFault(ServerContext& context, const httplib::Request& request, httplib::Response& response) {
  const auto kind = FaultKindNamed(request.get_param_value("kind"));
  if (!kind) {
    response.status = 400;
    response.set_content("unknown kind\n", "text/plain");
    return;
  }
  Fault fault;
  fault.kind = *kind;
  if (request.has_param("path")) fault.path = request.get_param_value("path");
  fault.value = std::atol(request.get_param_value("value").c_str());
  fault.text = request.get_param_value("text");
  if (request.has_param("count")) fault.remaining = std::atoi(request.get_param_value("count").c_str());
  context.faults.Arm(fault);
  response.set_content("armed\n", "text/plain");
}

void Clear(ServerContext& context, const httplib::Request&, httplib::Response& response) {
  context.faults.Clear();
  context.log.Clear();
  response.set_content("cleared\n", "text/plain");
}

void Captured(ServerContext& context, const httplib::Request& request, httplib::Response& response) {
  const auto raw = context.log.Get(std::strtoul(request.get_param_value("back").c_str(), nullptr, 10));
  if (!raw) {
    response.status = 404;
    return;
  }
  response.set_content(*raw, "application/octet-stream");
}

void Count(ServerContext& context, const httplib::Request&, httplib::Response& response) {
  response.set_content(std::to_string(context.log.Count()), "text/plain");
}

void Retire(ServerContext& context, const httplib::Request& request, httplib::Response& response) {
  response.set_content(std::to_string(context.store.RetireTokens(request.get_param_value("user"))), "text/plain");
}

void AccountState(ServerContext& context, const httplib::Request& request, httplib::Response& response) {
  const std::string name = request.get_param_value("user");
  const auto account = context.store.FindAccount(name);
  if (!account) {
    response.status = 404;
    return;
  }
  response.set_content("quota=" + std::to_string(account->quota) + " used=" + std::to_string(account->used) +
                           " photos=" + std::to_string(context.store.PhotosOf(name, 1 << 30).size()),
                       "text/plain");
}

// One line per photo of the account, oldest first: id, status, size, title, tags, separated by
// tabs; strings as stored (code page 936).
void PhotoList(ServerContext& context, const httplib::Request& request, httplib::Response& response) {
  const auto photos = context.store.PhotosOf(request.get_param_value("user"), 1 << 30);
  std::string out;
  for (auto photo = photos.rbegin(); photo != photos.rend(); ++photo) {
    out += std::to_string(photo->id) + '\t' + photo->status + '\t' + std::to_string(photo->size) + '\t' + photo->title +
           '\t' + photo->tags + '\n';
  }
  response.set_content(out, "application/octet-stream");
}

void PutAccount(ServerContext& context, const httplib::Request& request, httplib::Response& response) {
  Account account;
  account.name = request.get_param_value("user");
  account.password = request.get_param_value("password");
  account.blogName = request.get_param_value("blog");
  account.quota = std::atoll(request.get_param_value("quota").c_str());
  if (account.name.empty()) {
    response.status = 400;
    return;
  }
  context.store.PutAccount(account);
  response.set_content("put\n", "text/plain");
}

void Setting(ServerContext& context, const httplib::Request& request, httplib::Response& response) {
  context.store.PutSetting(request.get_param_value("key"), request.get_param_value("value"));
  response.set_content("set\n", "text/plain");
}

void Pause(ServerContext& context, const httplib::Request& request, httplib::Response& response) {
  const long ms = std::atol(request.get_param_value("ms").c_str());
  if (ms <= 0 || !context.pauseListening) {
    response.status = 400;
    return;
  }
  context.pauseListening(ms);
  response.set_content("paused\n", "text/plain");
}

}  // namespace

void AddControlRoutes(httplib::Server& server, ServerContext& context) {
  static constexpr std::pair<const char*, ControlHandler> kRoutes[] = {
      {"/control/fault", ArmFault},    {"/control/clear", Clear},
      {"/control/captured", Captured}, {"/control/count", Count},
      {"/control/retire", Retire},     {"/control/account", AccountState},
      {"/control/setting", Setting},   {"/control/put-account", PutAccount},
      {"/control/photos", PhotoList},  {"/control/pause", Pause},
  };
  for (const auto& [path, handler] : kRoutes) {
    auto route = [&context, handler](const httplib::Request& request, httplib::Response& response) {
      if (!FromLoopback(request)) {
        response.status = 403;
        return;
      }
      handler(context, request, response);
    };
    server.Get(path, route);
    server.Post(path, route);
  }
  // A status fault answers before any route runs, on any path but the control ones.
  server.set_pre_routing_handler([&context](const httplib::Request& request, httplib::Response& response) {
    if (request.path.rfind("/control/", 0) == 0) return httplib::Server::HandlerResponse::Unhandled;
    if (auto body = context.faults.TakeFault(FaultKind::Body, request.path)) {
      response.status = 200;
      response.set_content(body->text, "text/xml");
      return httplib::Server::HandlerResponse::Handled;
    }
    const auto status = context.faults.Take(FaultKind::Status, request.path);
    if (!status) return httplib::Server::HandlerResponse::Unhandled;
    response.status = static_cast<int>(*status);
    response.set_content("<error status='" + std::to_string(*status) + "'/>", "text/xml");
    return httplib::Server::HandlerResponse::Handled;
  });
}

}  // namespace refserver
