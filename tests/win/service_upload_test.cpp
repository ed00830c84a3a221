// The photo upload request: the multipart form checked byte for byte in the reference server's
// capture of the raw request, the size ceiling, and what the photo id says in each case.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/handles.h"
#include "reference_server.h"
#include "service/auth_requests.h"
#include "service/core/upload_body.h"
#include "service/service_client.h"
#include "base/text_936.h"
#include "service/upload_request.h"
#include "upload/photo_read_ahead.h"
#include "support/upload_photo.h"

namespace fernwick {
namespace {

using test::ArmFault;
using test::Captured;
using test::CapturedCount;
using test::Control;
using test::UploadPhoto;

// Test files under a folder of their own, removed afterwards.
class ScratchFiles {
 public:
  explicit ScratchFiles(std::wstring folder) : folder_(std::move(folder)) {
    ::CreateDirectoryW(folder_.c_str(), nullptr);
  }
  ~ScratchFiles() {
    for (const auto& path : files_) ::DeleteFileW(path.c_str());
    ::RemoveDirectoryW(folder_.c_str());
  }
  ScratchFiles(const ScratchFiles&) = delete;
  ScratchFiles& operator=(const ScratchFiles&) = delete;
  // Writes `size` bytes of a pattern that holds every byte value; returns the content.
  std::string Write(const std::wstring& name, size_t size) {
    std::string content(size, '\0');
    for (size_t i = 0; i < size; ++i) content[i] = static_cast<char>((i * 131 + i / 256) & 0xFF);
    const std::wstring path = Path(name);
    UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    EXPECT_TRUE(file && ::WriteFile(file.get(), content.data(), static_cast<DWORD>(size), &written, nullptr));
    files_.push_back(path);
    return content;
  }
  std::wstring Path(const std::wstring& name) const { return folder_ + L"\\" + name; }
  // A folder of this name in the temporary folder.
  static ScratchFiles InTemp(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    return ScratchFiles(std::wstring(temp) + name);
  }

 private:
  std::wstring folder_;
  std::vector<std::wstring> files_;
};

class ServiceUpload : public test::ReferenceServerTest {
 protected:
  void SetUp() override {
    ReferenceServerTest::SetUp();
    test::PutAccount("up", "pw", 100000000, "b");
    ASSERT_EQ(client_.Open(), kResultOk);
    AuthReply reply;
    ASSERT_EQ(AuthenticateWithPassword(client_, L"up", L"pw", reply), kResultOk);
    token_ = reply.authstr;
  }

  // The request exactly as it should travel: request line, then WinINet's own Host, agent and
  // (for a POST, under Wine) Cache-Control lines, then our header block and the body.
  static std::string ExpectedRequest(const std::string& body) {
    return "POST /upload/toolupload.aspx HTTP/1.0\r\n" + test::HostLine() +
           "User-Agent: Kestrelpost\r\nCache-Control: no-cache\r\n" + UploadHeaderBlock(body.size()) + "\r\n\r\n" +
           body;
  }

  ServiceClient client_;
  std::string token_;
};

TEST_F(ServiceUpload, WorkedExampleIsSentByteForByte) {
  ScratchFiles files(L"C:\\f");
  const std::string content = files.Write(L"1.jpg", 1000);
  ASSERT_EQ(files.Path(L"1.jpg"), L"C:\\f\\1.jpg");
  int32_t photoId = -1;
  ASSERT_EQ(UploadPhoto(client_, "abc", "", "1", files.Path(L"1.jpg"), L"x", photoId), kResultOk);
  EXPECT_EQ(photoId, 0) << "the server does not know the token abc";
  const std::string body = BuildUploadBody({"abc", "", "1", "x", "C:\\f\\1.jpg"}, content);
  ASSERT_EQ(body.size(), 1745u);
  EXPECT_NE(body.find("name=\"beginpos\"\r\n\r\n504\r\n"), std::string::npos);
  EXPECT_NE(body.find("name=\"endpos\"\r\n\r\n1504\r\n"), std::string::npos);
  EXPECT_TRUE(test::SameBytes(Captured(), ExpectedRequest(body)));
  EXPECT_NE(Captured().find("\r\nContent-Length: 1745\r\n"), std::string::npos);
}

TEST_F(ServiceUpload, BodyBuiltInTheRoomOfALargerOneIsSentByteForByte) {
  ScratchFiles files = ScratchFiles::InTemp(L"fernwick-upload");
  files.Write(L"large.jpg", 2000000);
  const std::string content = files.Write(L"small.jpg", 3000);
  int32_t photoId = 0;
  ASSERT_EQ(UploadPhoto(client_, token_, "t", "1", files.Path(L"large.jpg"), L"large", photoId), kResultOk);
  AuthReply reply;
  ASSERT_EQ(AuthenticateWithToken(client_, token_, reply), kResultOk);
  ASSERT_EQ(UploadPhoto(client_, token_, "", "0", files.Path(L"small.jpg"), L"small", photoId), kResultOk);
  EXPECT_TRUE(test::SameBytes(
      Captured(), ExpectedRequest(BuildUploadBody({token_, "", "0", "small", To936Lossy(files.Path(L"small.jpg"))},
                                                  content))));
}

struct FormCase {
  const char* name;
  std::string tags;
  std::string status;
  std::string title;
  size_t size;
};

class UploadForms : public ServiceUpload, public ::testing::WithParamInterface<FormCase> {};
TEST_P(UploadForms, ArriveByteForByteAndAreStored) {
  const FormCase& c = GetParam();
  ScratchFiles files = ScratchFiles::InTemp(L"fernwick-upload");
  const std::string content = files.Write(L"photo.jpg", c.size);
  const std::wstring path = files.Path(L"photo.jpg");
  int32_t photoId = 0;
  // The title's code page 936 bytes go out exactly as they came in.
  ASSERT_EQ(UploadPhoto(client_, token_, c.tags, c.status, path, WideFrom936(c.title), photoId), kResultOk);
  EXPECT_TRUE(test::SameBytes(Captured(),
                                 ExpectedRequest(BuildUploadBody({token_, c.tags, c.status, c.title, To936Lossy(path)}, content))));
  ASSERT_GT(photoId, 0);
  const auto stored = test::HttpGet("/photos/" + std::to_string(photoId) + ".jpg");
  ASSERT_TRUE(stored);
  EXPECT_TRUE(stored->body == content) << "stored " << stored->body.size() << " bytes of " << content.size();
}
INSTANTIATE_TEST_SUITE_P(Table, UploadForms,
                         ::testing::Values(FormCase{"EmptyTags", "", "1", "photo", 2000},
                                           FormCase{"ChineseTitle", "西湖 春天", "2", "西湖的春天", 4096},
                                           FormCase{"Private", "a", "0", "p", 1},
                                           FormCase{"LargestFile", "t", "1", "big", 2055208}),
                         [](const auto& info) { return info.param.name; });

TEST_F(ServiceUpload, OneByteOverTheCeilingIsNotSent) {
  ScratchFiles files = ScratchFiles::InTemp(L"fernwick-upload-big");
  files.Write(L"big.jpg", 2055209);
  const int before = CapturedCount();
  int32_t photoId = 99;
  EXPECT_EQ(UploadPhoto(client_, token_, "", "1", files.Path(L"big.jpg"), L"big", photoId), kResultOk);
  EXPECT_EQ(photoId, 0);
  EXPECT_EQ(CapturedCount(), before) << "nothing reaches the server";
}

TEST_F(ServiceUpload, MissingFileIsTreatedAsTooLarge) {
  const int before = CapturedCount();
  int32_t photoId = 99;
  EXPECT_EQ(UploadPhoto(client_, token_, "", "1", L"C:\\no\\such\\photo.jpg", L"photo", photoId), kResultOk);
  EXPECT_EQ(photoId, 0);
  EXPECT_EQ(CapturedCount(), before);
}

// A photo's file read while the photo before it was sent goes as it was read, taken once and
// only for its own path; a file that could not be read is not taken, and the send reads its own.
TEST_F(ServiceUpload, AFileReadAheadIsSentAsItWasRead) {
  ScratchFiles files = ScratchFiles::InTemp(L"fernwick-upload-ahead");
  const std::string content = files.Write(L"a.jpg", 3000);
  const std::wstring path = files.Path(L"a.jpg");
  PhotoReadAhead reader;
  std::string taken = "the last photo's";
  reader.Start(path);
  EXPECT_FALSE(reader.Take(files.Path(L"b.jpg"), taken));
  EXPECT_EQ(taken, "the last photo's");
  ASSERT_TRUE(reader.Take(path, taken));
  EXPECT_TRUE(test::SameBytes(taken, content));
  std::string again;
  EXPECT_FALSE(reader.Take(path, again)) << "taken once";
  reader.Start(files.Path(L"missing.jpg"));
  EXPECT_FALSE(reader.Take(files.Path(L"missing.jpg"), again));

  files.Write(L"a.jpg", 1000);  // written again since it was read
  ASSERT_EQ(SendPhoto(client_, token_, "", "1", path, L"a", {}, &taken).end, UploadEnd::Stored);
  EXPECT_TRUE(
      test::SameBytes(Captured(), ExpectedRequest(BuildUploadBody({token_, "", "1", "a", To936Lossy(path)}, content))));
}

struct ReplyCase {
  const char* name;
  const char* kind;
  long value;
  const char* text;
  int expectedResult;
  bool expectId;
};
class UploadReplies : public ServiceUpload, public ::testing::WithParamInterface<ReplyCase> {};
TEST_P(UploadReplies, DecideResultAndPhotoId) {
  const ReplyCase& c = GetParam();
  ScratchFiles files = ScratchFiles::InTemp(L"fernwick-upload-reply");
  files.Write(L"p.jpg", 500);
  ArmFault(c.kind, "/upload/toolupload.aspx", c.value, c.text);
  int32_t photoId = 77;
  EXPECT_EQ(UploadPhoto(client_, token_, "", "1", files.Path(L"p.jpg"), L"p", photoId), c.expectedResult);
  if (c.expectId) {
    EXPECT_GT(photoId, 0);
  } else {
    EXPECT_EQ(photoId, 0);
  }
}
INSTANTIATE_TEST_SUITE_P(
    Table, UploadReplies,
    ::testing::Values(ReplyCase{"NotFound", "status", 404, "", kResultOk, false},
                      ReplyCase{"ServerError", "status", 500, "", kResultOk, false},
                      ReplyCase{"OkWithoutPhotoid", "body", 0, "<upload stat='ok'/>", kResultOk, false},
                      ReplyCase{"PhotoidNotANumber", "body", 0, "<upload stat='ok' photoid='x'/>", kResultOk, false},
                      ReplyCase{"Capitals", "capitals", 0, "", kResultOk, false},
                      ReplyCase{"EmptyReply", "body", 0, "", kResultOk, false},
                      ReplyCase{"ClosedWithoutAnswer", "drop", 0, "", kResultOk, false},
                      ReplyCase{"LongReply", "oversize", 2000, "", kResultOk, true},
                      ReplyCase{"Slow", "delay", 200, "", kResultOk, true}),
    [](const auto& info) { return info.param.name; });

TEST_F(ServiceUpload, PhotoidBeforeStatIsRead) {
  ScratchFiles files = ScratchFiles::InTemp(L"fernwick-upload-order");
  files.Write(L"p.jpg", 10);
  ArmFault("body", "/upload/toolupload.aspx", 0, "<upload photoid='17' stat='ok'/>");
  int32_t photoId = 0;
  EXPECT_EQ(UploadPhoto(client_, token_, "", "1", files.Path(L"p.jpg"), L"p", photoId), kResultOk);
  EXPECT_EQ(photoId, 17);
}

TEST_F(ServiceUpload, SendingThatFailsIsNoExchange) {
  ScratchFiles files = ScratchFiles::InTemp(L"fernwick-upload-nowhere");
  files.Write(L"p.jpg", 100);
  ScopedServiceEndpoint nowhere({"127.0.0.1", 9});
  ServiceClient client;
  ASSERT_EQ(client.Open(), kResultOk) << "WinINet connects lazily, when the request is sent";
  int32_t photoId = 33;
  EXPECT_EQ(UploadPhoto(client, token_, "", "1", files.Path(L"p.jpg"), L"p", photoId), kResultNoExchange);
  EXPECT_EQ(photoId, 0);
}

TEST_F(ServiceUpload, ClosedClientLeavesThePhotoIdAlone) {
  ServiceClient closed;
  int32_t photoId = 55;
  EXPECT_EQ(UploadPhoto(closed, token_, "", "1", L"C:\\whatever.jpg", L"w", photoId), kResultNoExchange);
  EXPECT_EQ(photoId, 55);
}

}  // namespace
}  // namespace fernwick
