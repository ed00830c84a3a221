// The authentication requests, the sign-in check and the version check against the reference
// server, with its faults standing in for a misbehaving service; requests checked byte for byte
// in the server's capture.
#include <gtest/gtest.h>

#include "reference_server.h"
#include "service/auth_requests.h"
#include "service/request_flight.h"
#include "service/service_client.h"
#include "service/version_check.h"

namespace fernwick {
namespace {

using test::ArmFault;
using test::Captured;
using test::Control;

class ServiceRequests : public test::ReferenceServerTest {
 protected:
  void SetUp() override {
    ReferenceServerTest::SetUp();
    test::PutAccount("li", "a&b=c", 100000, "李的相册");
    ASSERT_EQ(client_.Open(), kResultOk);
  }
  ServiceClient client_;
};

TEST_F(ServiceRequests, PasswordRequestIsSentUnescapedAndAsHttp10) {
  AuthReply reply;
  ASSERT_EQ(AuthenticateWithPassword(client_, L"li", L"a&b=c", reply), kResultOk);
  EXPECT_EQ(Captured(), "GET /upload/auth.aspx?username=li&password=a&b=c HTTP/1.0\r\n" + test::HostLine() +
                            "User-Agent: Kestrelpost\r\n\r\n");
  EXPECT_EQ(reply.stat, "ok");
  EXPECT_EQ(reply.authstr.size(), 32u);
  EXPECT_EQ(reply.limit, 100000);
  EXPECT_EQ(reply.used, 0);
  EXPECT_EQ(reply.blogname, "李的相册");
}

TEST_F(ServiceRequests, WrongPasswordIsRefusedAndLeavesOutputs) {
  AuthReply reply;
  reply.authstr = "before";
  reply.limit = 7;
  EXPECT_EQ(AuthenticateWithPassword(client_, L"li", L"a", reply), kResultRefused);
  EXPECT_EQ(reply.authstr, "before");
  EXPECT_EQ(reply.limit, 7);
}

TEST_F(ServiceRequests, TokenRequestAndItsAnswers) {
  AuthReply first;
  ASSERT_EQ(AuthenticateWithPassword(client_, L"li", L"a&b=c", first), kResultOk);
  AuthReply reply;
  EXPECT_EQ(AuthenticateWithToken(client_, first.authstr, reply), kResultOk);
  EXPECT_EQ(Captured(), "GET /upload/auth.aspx?authstr=" + first.authstr + " HTTP/1.0\r\n" + test::HostLine() +
                            "User-Agent: Kestrelpost\r\n\r\n");
  EXPECT_EQ(reply.limit, 100000);
  EXPECT_EQ(reply.blogname, "李的相册");
  EXPECT_TRUE(reply.authstr.empty()) << "the token request gives no token";

  AuthReply untouched;
  untouched.limit = 1;
  untouched.used = 2;
  untouched.blogname = "keep";
  ArmFault("zerok", "/upload/auth.aspx");
  EXPECT_EQ(AuthenticateWithToken(client_, first.authstr, untouched), kResultTokenZeroK);
  ArmFault("capitals", "/upload/auth.aspx");
  EXPECT_EQ(AuthenticateWithToken(client_, first.authstr, untouched), kResultRefused);
  EXPECT_EQ(AuthenticateWithToken(client_, "not-a-token", untouched), kResultRefused);
  EXPECT_EQ(untouched.limit, 1);
  EXPECT_EQ(untouched.used, 2);
  EXPECT_EQ(untouched.blogname, "keep");

  Control("retire?user=li");
  EXPECT_EQ(AuthenticateWithToken(client_, first.authstr, untouched), kResultTokenZeroK);
}

struct CodeCase {
  const char* name;
  const char* kind;  // fault on /upload/auth.aspx
  long value;
  const char* text;
  int expected;
};

class AuthResultCodes : public ServiceRequests, public ::testing::WithParamInterface<CodeCase> {};
TEST_P(AuthResultCodes, MapTheExchangeToTheCode) {
  const CodeCase& c = GetParam();
  ArmFault(c.kind, "/upload/auth.aspx", c.value, c.text);
  AuthReply reply;
  reply.blogname = "unchanged";
  const int result = AuthenticateWithPassword(client_, L"li", L"a&b=c", reply);
  EXPECT_EQ(result, c.expected);
  if (result != kResultOk) {
    EXPECT_EQ(reply.blogname, "unchanged");
  }
}
INSTANTIATE_TEST_SUITE_P(Table, AuthResultCodes,
                         ::testing::Values(CodeCase{"NotFound", "status", 404, "", kResultNoExchange},
                                           CodeCase{"ServerError", "status", 500, "", kResultNoExchange},
                                           CodeCase{"Redirect", "status", 302, "", kResultNoExchange},
                                           CodeCase{"EmptyBody", "body", 0, "", kResultRefused},
                                           CodeCase{"Capitals", "capitals", 0, "", kResultRefused},
                                           CodeCase{"StatusWithoutQuote", "body", 0, "<userauth stat='ok",
                                                    kResultRefused},
                                           CodeCase{"Garbled", "garble", 3, "", kResultRefused},
                                           CodeCase{"Dropped", "drop", 0, "", kResultNoExchange},
                                           CodeCase{"Reset", "reset", 0, "", kResultNoExchange},
                                           CodeCase{"PushedBeyondTheLimit", "lead", 1100, "", kResultRefused},
                                           CodeCase{"LongReplyStillRead", "oversize", 3000, "", kResultOk},
                                           CodeCase{"SlowPieces", "trickle", 16, "", kResultOk},
                                           CodeCase{"Delayed", "delay", 300, "", kResultOk}),
                         [](const auto& info) { return info.param.name; });

TEST_F(ServiceRequests, OkReplyWithoutElementsGivesEmptiesAndZeros) {
  ArmFault("body", "/upload/auth.aspx", 0, "<userauth stat='ok'></userauth>");
  AuthReply reply;
  reply.authstr = "old";
  reply.limit = 5;
  EXPECT_EQ(AuthenticateWithPassword(client_, L"li", L"a&b=c", reply), kResultOk);
  EXPECT_EQ(reply.authstr, "");
  EXPECT_EQ(reply.limit, 0);
  EXPECT_EQ(reply.used, 0);
  EXPECT_EQ(reply.blogname, "");
}

TEST_F(ServiceRequests, ReplyIsReadToItsFirst1024BytesEvenInSmallPieces) {
  // The used element closes at byte 1024 exactly: kept only when the whole first 1024 bytes
  // are read, although they arrive in 32-byte pieces.
  std::string reply = "<userauth stat='ok'><limit>900</limit><used>";
  reply += std::string(1024 - reply.size() - 8, ' ') + "7</used>";
  ASSERT_EQ(reply.size(), 1024u);
  reply += "<blogname>beyond</blogname></userauth>";
  ArmFault("body", "/upload/auth.aspx", 0, reply);
  ArmFault("trickle", "/upload/auth.aspx", 32);
  AuthReply out;
  EXPECT_EQ(AuthenticateWithPassword(client_, L"li", L"a&b=c", out), kResultOk);
  EXPECT_EQ(out.limit, 900);
  EXPECT_EQ(out.used, 7);
  EXPECT_EQ(out.blogname, "") << "the element after byte 1024 is not read";
}

TEST_F(ServiceRequests, NothingListeningIsNoExchange) {
  ScopedServiceEndpoint nowhere({"127.0.0.1", 9});
  ServiceClient client;
  if (client.Open() == kResultOk) {
    AuthReply reply;
    EXPECT_EQ(AuthenticateWithPassword(client, L"li", L"a&b=c", reply), kResultNoExchange);
  }
  std::string authstr = "keep";
  int percent = 55;
  std::string blog = "keep";
  EXPECT_EQ(SignIn(L"li", L"a&b=c", authstr, percent, blog), kResultNoExchange);
  EXPECT_EQ(percent, 55);
  VersionInfo info{"a", "b", "c"};
  EXPECT_EQ(CheckVersion(info), kResultNoExchange);
  EXPECT_EQ(info.versionId, "a");
}

TEST_F(ServiceRequests, ClosedClientSendsNothing) {
  ServiceClient closed;
  AuthReply reply;
  EXPECT_EQ(AuthenticateWithPassword(closed, L"li", L"a&b=c", reply), kResultNoExchange);
  client_.Close();
  client_.Close();  // closing twice passes over the null handles
  EXPECT_FALSE(client_.IsOpen());
}

struct PercentCase {
  int limit, used, expected;
};
class SignInPercent : public ServiceRequests, public ::testing::WithParamInterface<PercentCase> {};
TEST_P(SignInPercent, FollowsTheQuotient) {
  const auto& c = GetParam();
  ArmFault("body", "/upload/auth.aspx", 0,
           "<userauth stat='ok'><authstr>tk</authstr><limit>" + std::to_string(c.limit) + "</limit><used>" +
               std::to_string(c.used) + "</used><blogname>b</blogname></userauth>");
  std::string authstr, blog;
  int percent = -1;
  ASSERT_EQ(SignIn(L"li", L"a&b=c", authstr, percent, blog), kResultOk);
  EXPECT_EQ(percent, c.expected);
  EXPECT_EQ(authstr, "tk");
  EXPECT_EQ(blog, "b");
}
INSTANTIATE_TEST_SUITE_P(Table, SignInPercent,
                         ::testing::Values(PercentCase{100, 29, 28}, PercentCase{3, 1, 33}, PercentCase{0, 10, 0},
                                           PercentCase{100, 100, 100}, PercentCase{100, 250, 100},
                                           PercentCase{100, 0, 0}));

TEST_F(ServiceRequests, SignInRefusedLeavesOutputs) {
  std::string authstr = "a", blog = "b";
  int percent = 12;
  EXPECT_EQ(SignIn(L"li", L"wrong", authstr, percent, blog), kResultRefused);
  EXPECT_EQ(authstr, "a");
  EXPECT_EQ(percent, 12);
  EXPECT_EQ(blog, "b");
  ArmFault("status", "/upload/auth.aspx", 500);
  EXPECT_EQ(SignIn(L"li", L"a&b=c", authstr, percent, blog), kResultNoExchange);
  EXPECT_EQ(percent, 12);
}

TEST_F(ServiceRequests, VersionCheckReadsTheAttributes) {
  Control("setting?key=version_id&value=1.1");
  Control("setting?key=version_url&value=" + test::Escape("http://127.0.0.1/get.htm"));
  Control("setting?key=is_upgrade&value=1");
  VersionInfo info;
  ASSERT_EQ(CheckVersion(info), kResultOk);
  EXPECT_EQ(Captured(),
            "GET /upload/versioncheck.aspx HTTP/1.0\r\n" + test::HostLine() + "User-Agent: Kestrelpost\r\n\r\n");
  EXPECT_EQ(info.versionId, "1.1");
  EXPECT_EQ(info.versionUrl, "http://127.0.0.1/get.htm");
  EXPECT_EQ(info.isUpgrade, "1");
  Control("setting?key=version_id&value=1.0");
  Control("setting?key=is_upgrade&value=0");
}

TEST_F(ServiceRequests, VersionCheckFailuresAndMissingAttributes) {
  VersionInfo info{"x", "y", "z"};
  ArmFault("status", "/upload/versioncheck.aspx", 500);
  EXPECT_EQ(CheckVersion(info), kResultNoExchange);
  EXPECT_EQ(info.versionId, "x");
  EXPECT_EQ(info.isUpgrade, "z");
  ArmFault("body", "/upload/versioncheck.aspx", 0, "<version versionID='1.1'/>");
  EXPECT_EQ(CheckVersion(info), kResultOk);
  EXPECT_EQ(info.versionId, "1.1");
  EXPECT_EQ(info.versionUrl, "");
  EXPECT_EQ(info.isUpgrade, "");
}

// The request's handle is closed before the answer comes back, in both ways of sending: the
// asker may close its connection at once and reuse the value for its next request.
TEST_F(ServiceRequests, RequestHandleIsClosedWhenTheAnswerIsBack) {
  for (bool inPieces : {false, true}) {
    UniqueInternetHandle request = client_.OpenRequest("GET", "/upload/versioncheck.aspx");
    ASSERT_TRUE(request);
    const HINTERNET value = request.get();
    const FlightResult result = FlyRequest(std::move(request), "", "", inPieces, {}, nullptr, 60000, 1024);
    EXPECT_EQ(result.httpStatus, 200) << inPieces;
    DWORD type = 0;
    DWORD size = sizeof(type);
    EXPECT_FALSE(::InternetQueryOptionA(value, INTERNET_OPTION_HANDLE_TYPE, &type, &size)) << inPieces;
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE)) << inPieces;
  }
}

}  // namespace
}  // namespace fernwick
