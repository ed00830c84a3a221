#include "service_routes.h"

#include <string>
#include <string_view>
#include <variant>

#include "upload_form.h"

namespace refserver {

namespace {

// The query as the program sent it: its values are not escaped, so a password may hold
// "&" and "=", and the query is split on the fixed markers instead of on every "&".
std::string_view RawQuery(const httplib::Request& request) {
  const size_t mark = request.target.find('?');
  if (mark == std::string::npos) return {};
  return std::string_view(request.target).substr(mark + 1);
}

std::string StatusWord(ServerContext& context, const std::string& path, std::string word) {
  if (word == "ok" && context.faults.Take(FaultKind::Capitals, path)) return "OK";
  return word;
}

void Reply(httplib::Response& response, const std::string& text) { response.set_content(text, "text/xml"); }

std::string QuotaElements(const Account& account) {
  return "<limit>" + std::to_string(account.quota) + "</limit><used>" + std::to_string(account.used) +
         "</used><blogname>" + account.blogName + "</blogname>";
}

void Authenticate(ServerContext& context, const httplib::Request& request, httplib::Response& response) {
  const std::string path = "/upload/auth.aspx";
  const std::string_view query = RawQuery(request);
  constexpr std::string_view kUser = "username=";
  constexpr std::string_view kPassword = "&password=";
  constexpr std::string_view kToken = "authstr=";

  if (query.substr(0, kUser.size()) == kUser) {
    const size_t split = query.find(kPassword);
    if (split != std::string_view::npos) {
      const std::string_view name = query.substr(kUser.size(), split - kUser.size());
      const std::string_view password = query.substr(split + kPassword.size());
      if (auto account = context.store.SignIn(name, password)) {
        const std::string token = context.store.IssueToken(account->name);
        Reply(response, "<userauth stat='" + StatusWord(context, path, "ok") + "'><authstr>" + token + "</authstr>" +
                            QuotaElements(*account) + "</userauth>");
        return;
      }
    }
    Reply(response, "<userauth stat='fail'><reason>wrong user name or password</reason></userauth>");
    return;
  }

  if (query.substr(0, kToken.size()) == kToken) {
    const std::string_view token = query.substr(kToken.size());
    const long ttl = std::stol(context.store.Setting("token_ttl", kDefaultTokenTtl));
    std::string owner;
    const TokenState state = context.store.CheckToken(token, ttl, &owner);
    if (state == TokenState::Retired || (state == TokenState::Valid && context.faults.Take(FaultKind::ZeroK, path))) {
      Reply(response, "<userauth stat='0k'><reason>sign in again</reason></userauth>");
      return;
    }
    if (state == TokenState::Valid) {
      if (auto account = context.store.FindAccount(owner)) {
        Reply(response,
              "<userauth stat='" + StatusWord(context, path, "ok") + "'>" + QuotaElements(*account) + "</userauth>");
        return;
      }
    }
    Reply(response, "<userauth stat='fail'><reason>unknown token</reason></userauth>");
    return;
  }
  Reply(response, "<userauth stat='fail'><reason>bad query</reason></userauth>");
}

void Refuse(httplib::Response& response, const std::string& reason) {
  Reply(response, "<upload stat='fail' reason='" + reason + "'/>");
}

void Upload(ServerContext& context, const httplib::Request& request, httplib::Response& response) {
  const std::string path = "/upload/toolupload.aspx";
  const auto parsed = ParseUploadForm(request.body, BoundaryOf(request.get_header_value("Content-Type")));
  if (const auto* reason = std::get_if<std::string>(&parsed)) return Refuse(response, "form: " + *reason);
  const UploadForm& form = std::get<UploadForm>(parsed);

  std::string owner;
  const long ttl = std::stol(context.store.Setting("token_ttl", kDefaultTokenTtl));
  if (context.store.CheckToken(form.authstr, ttl, &owner) != TokenState::Valid) return Refuse(response, "token");
  if (form.photostatus != "0" && form.photostatus != "1" && form.photostatus != "2") {
    return Refuse(response, "photostatus");
  }

  Photo photo;
  photo.account = owner;
  photo.title = form.title;
  photo.tags = form.tags;
  photo.status = form.photostatus;
  const std::string_view bytes = std::string_view(request.body).substr(form.beginpos, form.endpos - form.beginpos);
  switch (context.store.StorePhoto(photo, bytes)) {
    case StoreResult::Stored:
      return Reply(response, "<upload photoid='" + std::to_string(photo.id) + "' stat='" +
                                 StatusWord(context, path, "ok") + "'/>");
    case StoreResult::OverQuota:
      return Refuse(response, "quota");
    case StoreResult::NoSuchAccount:
      return Refuse(response, "account");
    case StoreResult::Failed:
      return Refuse(response, "storage");
  }
}

void VersionCheck(ServerContext& context, httplib::Response& response) {
  Store& store = context.store;
  Reply(response, "<version versionID='" + store.Setting("version_id", kDefaultVersionId) + "' versionURL='" +
                      store.Setting("version_url", context.baseUrl + kDownloadPath) + "' isupgrade='" +
                      store.Setting("is_upgrade", kDefaultIsUpgrade) + "'/>");
}

}  // namespace

void AddServiceRoutes(httplib::Server& server, ServerContext& context) {
  server.Get("/upload/auth.aspx",
             [&context](const httplib::Request& q, httplib::Response& r) { Authenticate(context, q, r); });
  server.Post("/upload/toolupload.aspx",
              [&context](const httplib::Request& q, httplib::Response& r) { Upload(context, q, r); });
  server.Get("/upload/versioncheck.aspx",
             [&context](const httplib::Request&, httplib::Response& r) { VersionCheck(context, r); });
}

}  // namespace refserver
