// The whole service conversation of a batch against the reference server: sign in, token,
// photos uploaded and stored byte for byte, the quota moving, the batch ending on "0k".
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/handles.h"
#include "reference_server.h"
#include "service/auth_requests.h"
#include "service/service_client.h"
#include "service/upload_request.h"
#include "support/upload_photo.h"
#include "service/version_check.h"

namespace fernwick {
namespace {

using test::Control;
using test::UploadPhoto;

std::string WriteFile(const std::wstring& path, size_t size, unsigned seed) {
  std::string content(size, '\0');
  unsigned state = seed;
  for (char& c : content) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 24);
  }
  UniqueFile file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  EXPECT_TRUE(file && ::WriteFile(file.get(), content.data(), static_cast<DWORD>(size), &written, nullptr));
  return content;
}

class ServiceEndToEnd : public test::ReferenceServerTest {};

TEST_F(ServiceEndToEnd, BatchOfPhotosReachesTheServer) {
  test::PutAccount("王五", "p=1&q", 1000000, "王五的照片");
  std::string ignoredToken, blog;
  int percent = -1;
  ASSERT_EQ(SignIn(L"王五", L"p=1&q", ignoredToken, percent, blog), kResultOk);
  EXPECT_EQ(blog, "王五的照片");
  const int percentBefore = percent;

  VersionInfo version;
  ASSERT_EQ(CheckVersion(version), kResultOk);
  EXPECT_FALSE(version.versionId.empty());

  ServiceClient client;
  ASSERT_EQ(client.Open(), kResultOk);
  AuthReply auth;
  ASSERT_EQ(AuthenticateWithPassword(client, L"王五", L"p=1&q", auth), kResultOk);
  const int32_t usedBefore = auth.used;

  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"fernwick-e2e";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  const size_t sizes[] = {150000, 90001, 3};
  int32_t used = usedBefore;
  for (unsigned i = 0; i < 3; ++i) {
    AuthReply quota;
    ASSERT_EQ(AuthenticateWithToken(client, auth.authstr, quota), kResultOk);
    EXPECT_EQ(quota.used, used) << "the quota moves by each stored photo";
    const std::wstring path = folder + L"\\" + std::to_wstring(i) + L".jpg";
    const std::string content = WriteFile(path, sizes[i], i + 1);
    int32_t photoId = 0;
    ASSERT_EQ(UploadPhoto(client, auth.authstr, "湖 山", "2", path, L"照片" + std::to_wstring(i), photoId), kResultOk);
    ASSERT_GT(photoId, 0);
    const auto stored = test::HttpGet("/photos/" + std::to_string(photoId) + ".jpg");
    ASSERT_TRUE(stored);
    EXPECT_TRUE(stored->body == content) << "photo " << i << " differs from the file sent";
    used += static_cast<int32_t>(sizes[i]);
    ::DeleteFileW(path.c_str());
  }
  ::RemoveDirectoryW(folder.c_str());
  AuthReply after;
  ASSERT_EQ(AuthenticateWithToken(client, auth.authstr, after), kResultOk);
  EXPECT_EQ(after.used, used);
  EXPECT_EQ(Control("account?user=" + test::Escape("王五")),
            "quota=1000000 used=" + std::to_string(used) + " photos=3");

  ASSERT_EQ(SignIn(L"王五", L"p=1&q", ignoredToken, percent, blog), kResultOk);
  EXPECT_EQ(percent, static_cast<int>(static_cast<double>(used) / 1000000.0 * 100.0));
  EXPECT_GT(percent, percentBefore);

  Control("retire?user=" + test::Escape("王五"));
  AuthReply retired;
  EXPECT_EQ(AuthenticateWithToken(client, auth.authstr, retired), kResultTokenZeroK);
  client.Close();
}

TEST_F(ServiceEndToEnd, PhotoOverTheRemainingQuotaIsNotStored) {
  test::PutAccount("small", "pw", 1000, "s");
  ServiceClient client;
  ASSERT_EQ(client.Open(), kResultOk);
  AuthReply auth;
  ASSERT_EQ(AuthenticateWithPassword(client, L"small", L"pw", auth), kResultOk);
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"fernwick-quota.jpg";
  WriteFile(path, 1001, 9);
  int32_t photoId = 5;
  EXPECT_EQ(UploadPhoto(client, auth.authstr, "", "1", path, L"q", photoId), kResultOk);
  EXPECT_EQ(photoId, 0);
  EXPECT_EQ(Control("account?user=small"), "quota=1000 used=0 photos=0");
  ::DeleteFileW(path.c_str());
}

}  // namespace
}  // namespace fernwick
