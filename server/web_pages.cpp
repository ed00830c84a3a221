#include "web_pages.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "gbk_text.h"

namespace refserver {

namespace {

constexpr char kStyle[] = R"(<style>
body{margin:0;font-family:"Microsoft YaHei","WenQuanYi Micro Hei",SimSun,sans-serif;background:#f3f5f7;color:#23303a}
.bar{background:#1f6f8b;color:#fff;padding:10px 28px;display:flex;align-items:center;gap:24px}
.bar .logo{font-size:22px;font-weight:bold;letter-spacing:2px}
.bar a{color:#dff3fa;text-decoration:none;font-size:14px}
.main{max-width:980px;margin:22px auto;padding:0 20px}
h1{font-size:20px;margin:0 0 6px}
.sub{color:#6a7a86;font-size:13px;margin-bottom:18px}
.grid{display:flex;flex-wrap:wrap;gap:16px}
.card{background:#fff;border-radius:6px;box-shadow:0 1px 3px rgba(0,0,0,.15);width:220px;overflow:hidden}
.card img{width:220px;height:165px;object-fit:cover;display:block;background:#dfe6ea}
.card .info{padding:8px 10px;font-size:13px}
.card .title{font-weight:bold;margin-bottom:4px;white-space:nowrap;overflow:hidden;text-overflow:ellipsis}
.tag{display:inline-block;background:#e4f1f6;color:#1f6f8b;border-radius:3px;padding:0 5px;margin:2px 3px 0 0;font-size:12px}
.meta{color:#8a98a3;font-size:12px;margin-top:4px}
.missing{width:220px;height:120px;display:flex;align-items:center;justify-content:center;color:#a33;background:#fff;border-radius:6px}
.quota{background:#fff;border-radius:6px;padding:10px 14px;margin-bottom:18px;font-size:13px}
.meter{height:8px;background:#e1e7eb;border-radius:4px;margin-top:6px}
.meter div{height:8px;background:#3aa57a;border-radius:4px}
form{background:#fff;padding:18px 22px;border-radius:6px;max-width:420px}
label{display:block;margin:10px 0 4px;font-size:14px}
input[type=text],input[type=password]{width:100%;padding:6px;border:1px solid #b8c4cc;border-radius:4px;box-sizing:border-box}
button{margin-top:16px;background:#1f6f8b;color:#fff;border:0;border-radius:4px;padding:7px 22px;font-size:14px}
.note{color:#a33;margin-top:10px}
.foot{color:#9aa7b0;font-size:12px;text-align:center;margin:30px 0}
</style>)";

GbkPage PageStart(std::string_view titleUtf8) {
  GbkPage page;
  page.Text("<!DOCTYPE html><html><head><meta charset=\"gbk\"><title>")
      .Text(titleUtf8)
      .Text(" - Lumora 相册</title>")
      .Text(kStyle)
      .Text(
          "</head><body><div class=\"bar\"><span class=\"logo\">Lumora 相册</span>"
          "<a href=\"/home.aspx\">我的相册</a><a href=\"/regname.aspx\">注册</a>"
          "<a href=\"/sub.htm\">订阅</a><a href=\"/inc/PostPage.aspx\">网摘</a></div><div class=\"main\">");
  return page;
}

void PageEnd(GbkPage& page, httplib::Response& response) {
  page.Text("<div class=\"foot\">Lumora 相册 · 本地参考服务器</div></div></body></html>");
  response.set_content(page.html(), "text/html; charset=gbk");
}

const char* VisibilityText(const std::string& status) {
  if (status == "1") return "公开";
  if (status == "2") return "只对朋友公开";
  return "不公开";
}

void PhotoCard(GbkPage& page, const Photo& photo) {
  page.Text("<div class=\"card\"><a href=\"/photos/").Number(photo.id).Text(".jpg\"><img src=\"/photos/");
  page.Number(photo.id)
      .Text(".jpg\" alt=\"")
      .Value(photo.title)
      .Text("\"></a><div class=\"info\"><div class=\"title\">");
  page.Value(photo.title.empty() ? std::string("(无标题)") : photo.title).Text("</div>");
  std::istringstream tags(photo.tags);
  for (std::string tag; tags >> tag;) page.Text("<span class=\"tag\">").Value(tag).Text("</span>");
  page.Text("<div class=\"meta\">").Text(VisibilityText(photo.status)).Text(" · ");
  page.Number((photo.size + 1023) / 1024).Text(" KB · 编号 ").Number(photo.id).Text("</div></div></div>");
}

void HomePage(ServerContext& context, const httplib::Request& request, httplib::Response& response) {
  std::string name =
      FormValue(request.target.substr(std::min(request.target.size(), request.target.find('?') + 1)), "user");
  if (name.empty()) name = context.store.LastSignedIn().value_or("");
  const auto account = name.empty() ? std::nullopt : context.store.FindAccount(name);
  GbkPage page = PageStart("我的相册");
  if (!account) {
    page.Text(
        "<h1>还没有用户登录</h1><div class=\"sub\">请在 Fernwick 中登录，或先<a "
        "href=\"/regname.aspx\">注册</a>一个账号。</div>");
    return PageEnd(page, response);
  }
  page.Text("<h1>").Value(account->blogName.empty() ? account->name : account->blogName).Text("</h1>");
  page.Text("<div class=\"sub\">用户 ").Value(account->name).Text(" 的相册</div>");
  const long long percent = account->quota > 0 ? std::min<long long>(100, account->used * 100 / account->quota) : 0;
  page.Text("<div class=\"quota\">本月上传空间：已使用 ").Number(account->used / 1024).Text(" KB / ");
  page.Number(account->quota / 1024).Text(" KB（").Number(percent).Text("%）<div class=\"meter\"><div style=\"width:");
  page.Number(percent).Text("%\"></div></div></div>");
  const auto photos = context.store.PhotosOf(account->name, 200);
  if (photos.empty()) page.Text("<div class=\"sub\">还没有照片。</div>");
  page.Text("<div class=\"grid\">");
  for (const auto& photo : photos) PhotoCard(page, photo);
  page.Text("</div>");
  PageEnd(page, response);
}

void BatchPage(ServerContext& context, const httplib::Request& request, httplib::Response& response) {
  const std::string ids = request.get_param_value("photoIDs");
  GbkPage page = PageStart("本次上传的照片");
  page.Text("<h1>本次上传的照片</h1><div class=\"sub\">按上传的先后，最新的在前。</div><div class=\"grid\">");
  int shown = 0;
  std::istringstream list(ids);
  for (std::string item; std::getline(list, item, ',');) {
    if (item.empty()) continue;
    const long long id = std::atoll(item.c_str());
    if (auto photo = context.store.FindPhoto(id)) {
      PhotoCard(page, *photo);
    } else {
      page.Text("<div class=\"missing\">照片 ").Value(item).Text(" 不存在</div>");
    }
    ++shown;
  }
  page.Text("</div>");
  if (shown == 0) page.Text("<div class=\"sub\">没有指定照片。</div>");
  PageEnd(page, response);
}

void PhotoFile(ServerContext& context, const httplib::Request& request, httplib::Response& response) {
  const long long id = std::atoll(request.matches[1].str().c_str());
  std::ifstream file(context.store.PhotoFile(id), std::ios::binary);
  if (!context.store.FindPhoto(id) || !file) {
    response.status = 404;
    return;
  }
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  response.set_content(bytes, "image/jpeg");
}

void RegisterForm(GbkPage& page, const httplib::Request& request, std::string_view note) {
  page.Text("<h1>注册 Lumora 账号</h1><div class=\"sub\">注册后即可用 Fernwick 上传照片。</div>");
  page.Text("<form method=\"post\" action=\"/regname.aspx\" accept-charset=\"gbk\">");
  page.Text("<input type=\"hidden\" name=\"backurl\" value=\"").Value(request.get_param_value("backurl"));
  page.Text("\"><label>用户名</label><input type=\"text\" name=\"username\">");
  page.Text("<label>密码</label><input type=\"password\" name=\"password\">");
  page.Text("<label>博客名称</label><input type=\"text\" name=\"blogname\"><button type=\"submit\">注册</button>");
  if (!note.empty()) page.Text("<div class=\"note\">").Text(note).Text("</div>");
  page.Text("</form>");
}

void RegisterPage(const httplib::Request& request, httplib::Response& response) {
  GbkPage page = PageStart("注册");
  RegisterForm(page, request, "");
  PageEnd(page, response);
}

void Register(ServerContext& context, const httplib::Request& request, httplib::Response& response) {
  Account account;
  account.name = FormValue(request.body, "username");
  account.password = FormValue(request.body, "password");
  account.blogName = FormValue(request.body, "blogname");
  account.quota = std::atoll(context.store.Setting("default_quota", kDefaultQuota).c_str());
  GbkPage page = PageStart("注册");
  const bool usable =
      !account.name.empty() && !account.password.empty() && account.name.find_first_of("&=?# ") == std::string::npos;
  if (!usable) {
    RegisterForm(page, request, "请填写用户名和密码（用户名不能含有空格和 & = ? #）。");
  } else if (!context.store.CreateAccount(account)) {
    RegisterForm(page, request, "这个用户名已经有人用了。");
  } else {
    page.Text("<h1>注册成功</h1><div class=\"quota\">用户名：").Value(account.name).Text("<br>博客：");
    page.Value(account.blogName).Text("<br>本月上传空间：").Number(account.quota / 1024 / 1024);
    page.Text(" MB</div><div class=\"sub\">现在可以在 Fernwick 中用这个账号登录了。</div>");
  }
  PageEnd(page, response);
}

void FeedPage(httplib::Response& response) {
  GbkPage page = PageStart("使用 Lumora Tidefeed 订阅");
  page.Text("<h1>使用 Lumora Tidefeed 订阅</h1><div class=\"sub\">把网页的更新订阅到 Tidefeed 阅读器。</div>");
  page.Text(
      "<form><label>要订阅的地址</label><input type=\"text\" name=\"url\"><button "
      "type=\"button\">订阅</button></form>");
  PageEnd(page, response);
}

void BookmarkPage(const httplib::Request& request, httplib::Response& response) {
  GbkPage page = PageStart("添加到我的 Lumora 网摘");
  page.Text(
      "<h1>添加到我的 Lumora 网摘</h1><form method=\"get\" action=\"/inc/PostPage.aspx\" accept-charset=\"gbk\">");
  page.Text("<label>标题</label><input type=\"text\" name=\"title\" value=\"").Value(request.get_param_value("title"));
  page.Text("\"><label>网址</label><input type=\"text\" name=\"url\" value=\"").Value(request.get_param_value("url"));
  page.Text("\"><label>标签</label><input type=\"text\" name=\"tags\"><button type=\"submit\">保存</button></form>");
  PageEnd(page, response);
}

void DownloadPage(ServerContext& context, httplib::Response& response) {
  GbkPage page = PageStart("下载 Fernwick");
  page.Text("<h1>下载 Fernwick</h1><div class=\"quota\">最新版本：")
      .Value(context.store.Setting("version_id", kDefaultVersionId));
  page.Text("<br>Fernwick 是 Lumora 相册的桌面上传工具：把照片拖进来，转一转，一次全部上传。</div>");
  PageEnd(page, response);
}

}  // namespace

void AddWebPages(httplib::Server& server, ServerContext& context) {
  server.Get("/", [](const httplib::Request&, httplib::Response& r) { r.set_redirect("/home.aspx"); });
  server.Get("/home.aspx", [&context](const httplib::Request& q, httplib::Response& r) { HomePage(context, q, r); });
  server.Get("/PhotosBatch.aspx",
             [&context](const httplib::Request& q, httplib::Response& r) { BatchPage(context, q, r); });
  server.Get(R"(/photos/(\d+)\.jpg)",
             [&context](const httplib::Request& q, httplib::Response& r) { PhotoFile(context, q, r); });
  server.Get("/regname.aspx", [](const httplib::Request& q, httplib::Response& r) { RegisterPage(q, r); });
  server.Post("/regname.aspx",
              [&context](const httplib::Request& q, httplib::Response& r) { Register(context, q, r); });
  server.Get(kDownloadPath, [&context](const httplib::Request&, httplib::Response& r) { DownloadPage(context, r); });
  server.Get("/sub.htm", [](const httplib::Request&, httplib::Response& r) { FeedPage(r); });
  server.Get("/inc/PostPage.aspx", [](const httplib::Request& q, httplib::Response& r) { BookmarkPage(q, r); });
}

}  // namespace refserver
