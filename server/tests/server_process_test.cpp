// The server binary end to end over HTTP: accounts, tokens, uploads, quota, restart, faults,
// capture and the web pages.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "gbk_text.h"
#include "server_process.h"
#include "service/core/reply_rules.h"
#include "service/core/upload_body.h"

namespace refserver {
namespace {

using testing::ServerProcess;

std::string U8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

const std::string kSeed =
    U8(u8"account demo pw 5000 演示博客\naccount li a&b=c 100000 李的相册\n"
       u8"setting version_id 1.1\nsetting version_url http://127.0.0.1/dl.htm\n");

std::string Body(const httplib::Result& result) { return result ? result->body : std::string("<no reply>"); }

std::string Token(ServerProcess& server, const std::string& query) {
  auto client = server.Client();
  return fernwick::ElementText(Body(client.Get("/upload/auth.aspx?" + query)), "authstr");
}

httplib::Result Upload(ServerProcess& server, const std::string& token, const std::string& content,
                       const std::string& title = "photo", const std::string& status = "1") {
  const std::string body = fernwick::BuildUploadBody({token, "sea sky", status, title, "C:\\x.jpg"}, content);
  auto client = server.Client();
  return client.Post("/upload/toolupload.aspx", body,
                     std::string("multipart/form-data; boundary=") + fernwick::kUploadBoundary);
}

TEST(ServerAuth, PasswordRequestGivesTokenAndQuota) {
  ServerProcess server(kSeed);
  ASSERT_TRUE(server.running());
  const std::string reply = Body(server.Client().Get("/upload/auth.aspx?username=demo&password=pw"));
  EXPECT_EQ(fernwick::ReplyStatus(reply), "ok");
  EXPECT_EQ(fernwick::ElementText(reply, "authstr").size(), 32u);
  EXPECT_EQ(fernwick::ElementText(reply, "limit"), "5000");
  EXPECT_EQ(fernwick::ElementText(reply, "used"), "0");
  EXPECT_EQ(fernwick::ElementText(reply, "blogname"), ToGbk(U8(u8"演示博客")));
}

TEST(ServerAuth, PasswordWithAmpersandAndEqualsIsTakenWhole) {
  ServerProcess server(kSeed);
  EXPECT_FALSE(Token(server, "username=li&password=a&b=c").empty());
  EXPECT_TRUE(Token(server, "username=li&password=a").empty());
  EXPECT_TRUE(Token(server, "username=demo&password=PW").empty());
  EXPECT_EQ(fernwick::ReplyStatus(Body(server.Client().Get("/upload/auth.aspx?username=nobody&password=pw"))), "fail");
}

TEST(ServerAuth, TokenRequestAndRetiredToken) {
  ServerProcess server(kSeed);
  const std::string token = Token(server, "username=demo&password=pw");
  auto client = server.Client();
  EXPECT_EQ(fernwick::ReplyStatus(Body(client.Get("/upload/auth.aspx?authstr=" + token))), "ok");
  EXPECT_EQ(fernwick::ReplyStatus(Body(client.Get("/upload/auth.aspx?authstr=unknown"))), "fail");
  EXPECT_EQ(Body(client.Get("/control/retire?user=demo")), "1");
  EXPECT_EQ(fernwick::ReplyStatus(Body(client.Get("/upload/auth.aspx?authstr=" + token))), "0k");
}

TEST(ServerUpload, StoresExactBytesAndCountsQuota) {
  ServerProcess server(kSeed);
  const std::string token = Token(server, "username=demo&password=pw");
  std::string content(1200, '\0');
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
  const std::string reply = Body(Upload(server, token, content, "\xCE\xF7\xBA\xFE"));
  EXPECT_EQ(fernwick::AttributeValue(reply, "stat"), "ok") << reply;
  const int32_t id = fernwick::ReplyNumber(fernwick::AttributeValue(reply, "photoid"));
  ASSERT_GT(id, 0);
  EXPECT_EQ(Body(server.Client().Get("/photos/" + std::to_string(id) + ".jpg")), content);
  EXPECT_EQ(Body(server.Client().Get("/control/account?user=demo")), "quota=5000 used=1200 photos=1");
  const std::string quota = Body(server.Client().Get("/upload/auth.aspx?authstr=" + token));
  EXPECT_EQ(fernwick::ElementText(quota, "used"), "1200");

  const std::string second = Body(Upload(server, token, "abc"));
  EXPECT_EQ(fernwick::ReplyNumber(fernwick::AttributeValue(second, "photoid")), id + 1);
}

TEST(ServerUpload, ControlListsPhotosOldestFirst) {
  ServerProcess server(kSeed);
  const std::string token = Token(server, "username=demo&password=pw");
  const int32_t first =
      fernwick::ReplyNumber(fernwick::AttributeValue(Body(Upload(server, token, "abcd", "one")), "photoid"));
  const int32_t second =
      fernwick::ReplyNumber(fernwick::AttributeValue(Body(Upload(server, token, "xy", "two")), "photoid"));
  ASSERT_GT(first, 0);
  ASSERT_GT(second, first);
  const std::string list = Body(server.Client().Get("/control/photos?user=demo"));
  EXPECT_EQ(list, std::to_string(first) + "\t1\t4\tone\tsea sky\n" + std::to_string(second) + "\t1\t2\ttwo\tsea sky\n");
  EXPECT_EQ(Body(server.Client().Get("/control/photos?user=nobody")), "");
}

TEST(ServerUpload, RefusesBadTokenBadBodyAndOverQuota) {
  ServerProcess server(kSeed);
  const std::string token = Token(server, "username=demo&password=pw");
  EXPECT_EQ(fernwick::AttributeValue(Body(Upload(server, "nope", "abc")), "stat"), "fail");
  EXPECT_EQ(fernwick::AttributeValue(Body(Upload(server, token, "abc", "t", "7")), "stat"), "fail");
  EXPECT_EQ(fernwick::AttributeValue(Body(Upload(server, token, std::string(5001, 'q'))), "stat"), "fail");
  auto client = server.Client();
  const std::string spoiled = fernwick::BuildUploadBody({token, "", "1", "t", "p"}, "abcdef").substr(0, 500);
  EXPECT_EQ(fernwick::AttributeValue(
                Body(client.Post("/upload/toolupload.aspx", spoiled,
                                 std::string("multipart/form-data; boundary=") + fernwick::kUploadBoundary)),
                "stat"),
            "fail");
  EXPECT_EQ(Body(client.Get("/control/account?user=demo")), "quota=5000 used=0 photos=0");
  EXPECT_EQ(fernwick::AttributeValue(Body(Upload(server, token, std::string(5000, 'q'))), "stat"), "ok");
}

TEST(ServerData, SurvivesRestart) {
  char pattern[] = "/tmp/fernwick-restart-XXXXXX";
  const std::filesystem::path dir = ::mkdtemp(pattern);
  std::string token;
  int32_t id = 0;
  {
    ServerProcess first(kSeed, dir);
    token = Token(first, "username=demo&password=pw");
    id = fernwick::ReplyNumber(fernwick::AttributeValue(Body(Upload(first, token, "kept bytes")), "photoid"));
    ASSERT_GT(id, 0);
    EXPECT_EQ(first.Stop(), 0);
  }
  {
    ServerProcess second(kSeed, dir);
    auto client = second.Client();
    EXPECT_EQ(Body(client.Get("/photos/" + std::to_string(id) + ".jpg")), "kept bytes");
    EXPECT_EQ(fernwick::ReplyStatus(Body(client.Get("/upload/auth.aspx?authstr=" + token))), "ok");
    EXPECT_EQ(Body(client.Get("/control/account?user=demo")), "quota=5000 used=10 photos=1");
  }
  std::filesystem::remove_all(dir);
}

TEST(ServerFaults, StatusDropTruncateAndPadding) {
  ServerProcess server(kSeed);
  auto client = server.Client();
  client.Get("/control/fault?kind=status&path=/upload/versioncheck.aspx&value=503");
  auto faulted = client.Get("/upload/versioncheck.aspx");
  ASSERT_TRUE(faulted);
  EXPECT_EQ(faulted->status, 503);
  EXPECT_EQ(client.Get("/upload/versioncheck.aspx")->status, 200);  // used up

  client.Get("/control/fault?kind=drop&path=*");
  EXPECT_FALSE(client.Get("/upload/versioncheck.aspx"));

  client.Get("/control/fault?kind=oversize&path=/upload/versioncheck.aspx&value=2000");
  const std::string padded = Body(client.Get("/upload/versioncheck.aspx"));
  EXPECT_GT(padded.size(), 2000u);
  EXPECT_EQ(fernwick::AttributeValue(padded, "versionID"), "1.1");

  client.Get("/control/fault?kind=lead&path=/upload/versioncheck.aspx&value=1100");
  const std::string led = Body(client.Get("/upload/versioncheck.aspx"));
  EXPECT_EQ(fernwick::AttributeValue(led.substr(0, 1024), "versionID"), "");

  client.Get("/control/fault?kind=garble&path=/upload/versioncheck.aspx&value=7");
  EXPECT_EQ(fernwick::AttributeValue(Body(client.Get("/upload/versioncheck.aspx")), "versionID"), "");

  client.Get("/control/fault?kind=truncate&path=/upload/versioncheck.aspx&value=10");
  auto cut = client.Get("/upload/versioncheck.aspx");
  EXPECT_TRUE(!cut || cut->body.size() <= 10u);
}

TEST(ServerFaults, CapitalsAndZeroK) {
  ServerProcess server(kSeed);
  auto client = server.Client();
  client.Get("/control/fault?kind=capitals&path=/upload/auth.aspx");
  EXPECT_EQ(fernwick::ReplyStatus(Body(client.Get("/upload/auth.aspx?username=demo&password=pw"))), "OK");
  const std::string token = Token(server, "username=demo&password=pw");
  client.Get("/control/fault?kind=zerok&path=/upload/auth.aspx");
  EXPECT_EQ(fernwick::ReplyStatus(Body(client.Get("/upload/auth.aspx?authstr=" + token))), "0k");
  EXPECT_EQ(fernwick::ReplyStatus(Body(client.Get("/upload/auth.aspx?authstr=" + token))), "ok");
}

TEST(ServerFaults, BodyAndTrickle) {
  ServerProcess server(kSeed);
  auto client = server.Client();
  client.Get("/control/fault?kind=body&path=/upload/auth.aspx&text=%3Cuserauth%20stat%3D%27ok%27%3E");
  auto replaced = client.Get("/upload/auth.aspx?username=x&password=y");
  ASSERT_TRUE(replaced);
  EXPECT_EQ(replaced->status, 200);
  EXPECT_EQ(replaced->body, "<userauth stat='ok'>");
  client.Get("/control/fault?kind=body&path=/upload/versioncheck.aspx");
  EXPECT_EQ(Body(client.Get("/upload/versioncheck.aspx")), "");
  client.Get("/control/fault?kind=trickle&path=/upload/versioncheck.aspx&value=7");
  EXPECT_EQ(fernwick::AttributeValue(Body(client.Get("/upload/versioncheck.aspx")), "versionURL"),
            "http://127.0.0.1/dl.htm");
}

TEST(ServerCapture, KeepsTheRawRequest) {
  ServerProcess server(kSeed);
  auto client = server.Client();
  client.Get("/control/clear");
  const std::string body = "raw \r\n bytes \x01";
  client.Post("/upload/toolupload.aspx", body, "application/x-test");
  const std::string raw = Body(client.Get("/control/captured?back=0"));
  EXPECT_EQ(raw.rfind("POST /upload/toolupload.aspx HTTP/1.1\r\n", 0), 0u);
  EXPECT_NE(raw.find("Content-Type: application/x-test\r\n"), std::string::npos);
  EXPECT_EQ(raw.substr(raw.size() - body.size()), body);
  EXPECT_EQ(Body(client.Get("/control/count")), "1");
}

TEST(ServerPages, HomeBatchAndRegistrationInGbk) {
  ServerProcess server(kSeed);
  const std::string token = Token(server, "username=demo&password=pw");
  const int32_t first =
      fernwick::ReplyNumber(fernwick::AttributeValue(Body(Upload(server, token, "1", "AAA")), "photoid"));
  const int32_t second =
      fernwick::ReplyNumber(fernwick::AttributeValue(Body(Upload(server, token, "2", "BBB")), "photoid"));
  auto client = server.Client();
  auto home = client.Get("/home.aspx");
  ASSERT_TRUE(home);
  EXPECT_NE(home->get_header_value("Content-Type").find("gbk"), std::string::npos);
  EXPECT_NE(home->body.find(ToGbk(U8(u8"演示博客"))), std::string::npos);
  EXPECT_NE(home->body.find("AAA"), std::string::npos);

  const std::string batch =
      Body(client.Get("/PhotosBatch.aspx?photoIDs=" + std::to_string(second) + "," + std::to_string(first)));
  ASSERT_NE(batch.find("BBB"), std::string::npos);
  EXPECT_LT(batch.find("BBB"), batch.find("AAA"));

  auto registered = client.Post("/regname.aspx", "username=new1&password=p%26q&blogname=%C4%E3%BA%C3",
                                "application/x-www-form-urlencoded");
  ASSERT_TRUE(registered);
  EXPECT_NE(registered->body.find(ToGbk(U8(u8"注册成功"))), std::string::npos);
  const std::string reply = Body(client.Get("/upload/auth.aspx?username=new1&password=p&q"));
  EXPECT_EQ(fernwick::ReplyStatus(reply), "ok");
  EXPECT_EQ(fernwick::ElementText(reply, "blogname"), "\xC4\xE3\xBA\xC3");
  auto taken = client.Post("/regname.aspx", "username=new1&password=x", "application/x-www-form-urlencoded");
  EXPECT_EQ(taken->body.find(ToGbk(U8(u8"注册成功"))), std::string::npos);
  for (const char* page : {"/sub.htm", "/inc/PostPage.aspx", "/regname.aspx?type=3", "/download.htm"}) {
    auto answer = client.Get(page);
    ASSERT_TRUE(answer) << page;
    EXPECT_EQ(answer->status, 200) << page;
  }
}

}  // namespace
}  // namespace refserver
