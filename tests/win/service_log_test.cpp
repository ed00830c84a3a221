// What the log keeps of real requests to the reference server: each request's name, HTTP
// status and result, and never the password or the token that travelled in them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/log.h"
#include "base/text_936.h"
#include "reference_server.h"
#include "service/auth_requests.h"
#include "service/service_client.h"
#include "service/upload_request.h"
#include "support/upload_photo.h"
#include "service/version_check.h"
#include "support/test_files.h"

namespace fernwick {
namespace {

using test::Control;
using test::UploadPhoto;

class ServiceLog : public test::ReferenceServerTest {};

TEST_F(ServiceLog, KeepsRequestOutcomesButNoPasswordOrToken) {
  const std::wstring folder = test::FreshDirectory(L"service-log");
  const std::string password = "Pw7&hush=42";
  const std::string wrongPassword = "Wr0ngSecret";
  test::PutAccount("logger", password, 100000, "b");
  ASSERT_TRUE(test::WriteBytes(folder + L"photo.jpg", std::string(500, 'p')));
  std::string token;
  {
    const ScopedLogFolder redirect(folder);
    int percent = -1;
    std::string blog;
    ASSERT_EQ(SignIn(L"logger", WideFrom936(password), token, percent, blog), kResultOk);
    ASSERT_EQ(token.size(), 32u);
    EXPECT_EQ(SignIn(L"logger", WideFrom936(wrongPassword), token, percent, blog), kResultRefused);

    ServiceClient client;
    ASSERT_EQ(client.Open(), kResultOk);
    AuthReply reply;
    EXPECT_EQ(AuthenticateWithToken(client, token, reply), kResultOk);
    int32_t photoId = 0;
    EXPECT_EQ(UploadPhoto(client, token, "tag", "1", folder + L"photo.jpg", L"photo", photoId), kResultOk);
    EXPECT_GT(photoId, 0);
    VersionInfo version;
    EXPECT_EQ(CheckVersion(version), kResultOk);
    ASSERT_TRUE(FlushLog());
  }

  const std::string log = test::ReadBytes(folder + L"fernwick.log");
  for (const char* line : {"INFO  request sign-in: HTTP 200, result 0\r\n", "WARN  request sign-in: HTTP 200, result -1\r\n",
                           "INFO  request token: HTTP 200, result 0\r\n", "INFO  request upload: HTTP 200, result 0\r\n",
                           "INFO  request version check: HTTP 200, result 0\r\n"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line << "\nin:\n" << log;
  }
  EXPECT_EQ(log.find(password), std::string::npos);
  EXPECT_EQ(log.find(wrongPassword), std::string::npos);
  EXPECT_EQ(log.find(token), std::string::npos);
  EXPECT_EQ(log.find("hush"), std::string::npos);
  test::RemoveDirectoryTree(folder);
}

}  // namespace
}  // namespace fernwick
