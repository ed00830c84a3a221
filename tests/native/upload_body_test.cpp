#include "service/core/upload_body.h"

#include <gtest/gtest.h>

#include <string>

namespace fernwick {
namespace {

const std::string kDelimiter = std::string("--") + kUploadBoundary;

std::string Field(const std::string& name, const std::string& value) {
  return kDelimiter + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value + "\r\n";
}

size_t Digits(size_t n) { return std::to_string(n).size(); }

TEST(UploadBody, BoundaryIsTwentySevenHyphensAndTheMark) {
  EXPECT_EQ(std::string(kUploadBoundary), std::string(27, '-') + "7b4a6d158c9");
  EXPECT_EQ(std::string(kUploadBoundary).size(), 38u);
}

TEST(UploadBody, WorkedExampleGivesItsOffsetsAndLength) {
  const std::string content(1000, 'Z');
  const UploadFields fields{"abc", "", "1", "x", "C:\\a\\b.jpg"};
  ASSERT_EQ(fields.filePath.size(), 10u);
  EXPECT_EQ(UploadBodyHead(fields).size(), 504u);
  const std::string body = BuildUploadBody(fields, content);
  EXPECT_EQ(body.size(), 1745u);
  EXPECT_EQ(body.substr(504, 1000), content);
  EXPECT_NE(body.find("name=\"beginpos\"\r\n\r\n504\r\n"), std::string::npos);
  EXPECT_NE(body.find("name=\"endpos\"\r\n\r\n1504\r\n"), std::string::npos);
}

TEST(UploadBody, PiecesStandInTheirOrderByteForByte) {
  const UploadFields fields{"tok", "sea sky", "2", "\xCE\xF7\xBA\xFE", "D:\\\xD5\xD5\\\xCE\xF7\xBA\xFE.jpg"};
  const std::string content = std::string("\0\r\n--\xFF", 6);
  const std::string head = Field("authstr", "tok") + Field("tags", "sea sky") + Field("photostatus", "2") +
                           Field("title", "\xCE\xF7\xBA\xFE") + kDelimiter +
                           "\r\nContent-Disposition: form-data; name=\"\xCE\xF7\xBA\xFE\";filename=\"D:\\\xD5\xD5\\"
                           "\xCE\xF7\xBA\xFE.jpg\"\r\nContent-Type: \r\n\r\n";
  const size_t begin = head.size();
  const size_t end = begin + content.size();
  const std::string expected = head + content + "\r\n" + Field("beginpos", std::to_string(begin)) +
                               Field("endpos", std::to_string(end)) + kDelimiter + "--\r\n";
  EXPECT_EQ(BuildUploadBody(fields, content), expected);
}

TEST(UploadBody, EmptyTagsStillMakeTheField) {
  const std::string body = BuildUploadBody(UploadFields{"a", "", "0", "t", "p"}, "c");
  EXPECT_NE(body.find(Field("tags", "")), std::string::npos);
}

struct LengthCase {
  const char* name;
  std::string authstr, tags, photostatus, title, path;
  size_t fileSize;
};
class UploadBodyLengthTest : public ::testing::TestWithParam<LengthCase> {};
TEST_P(UploadBodyLengthTest, OffsetsAndLengthFollowTheFormula) {
  const auto& c = GetParam();
  const UploadFields fields{c.authstr, c.tags, c.photostatus, c.title, c.path};
  const size_t begin =
      488 + c.authstr.size() + c.tags.size() + c.photostatus.size() + 2 * c.title.size() + c.path.size();
  const size_t end = begin + c.fileSize;
  const std::string body = BuildUploadBody(fields, std::string(c.fileSize, 'q'));
  EXPECT_EQ(UploadBodyHead(fields).size(), begin);
  EXPECT_EQ(body.size(), end + 234 + Digits(begin) + Digits(end));
  EXPECT_NE(body.find("\r\n\r\n" + std::to_string(begin) + "\r\n"), std::string::npos);
  EXPECT_NE(body.find("\r\n\r\n" + std::to_string(end) + "\r\n"), std::string::npos);
}
INSTANTIATE_TEST_SUITE_P(
    Formula, UploadBodyLengthTest,
    ::testing::Values(LengthCase{"EmptyFile", "", "", "", "", "", 0},
                      LengthCase{"Small", "abc", "", "1", "x", "C:\\a\\b.jpg", 1000},
                      LengthCase{"LongToken", std::string(600, 'k'), "a b c", "2", "title", "C:\\x.jpg", 9000},
                      LengthCase{"Chinese", "t", "\xC9\xBD", "0", "\xCE\xF7\xBA\xFE\xCE\xF7", "C:\\\xCE\xF7.jpg", 7},
                      LengthCase{"LargestFile", "token", "tags", "1", "photo", "C:\\WINDOWS\\qvpicsendsnd\\1.jpg",
                                 2055208}),
    [](const auto& info) { return info.param.name; });

TEST(UploadBody, CeilingIsNinetyEightPercentOfTwoMebibytes) {
  EXPECT_TRUE(FileFitsUpload(0));
  EXPECT_TRUE(FileFitsUpload(2055208));
  EXPECT_FALSE(FileFitsUpload(2055209));
  EXPECT_FALSE(FileFitsUpload(uint64_t{1} << 40));
}

TEST(UploadBody, HeaderBlockHasNoTrailingLineEnd) {
  EXPECT_EQ(UploadHeaderBlock(1745),
            "Content-Type: multipart/form-data; boundary=---------------------------7b4a6d158c9\r\n"
            "Content-Length: 1745");
}

}  // namespace
}  // namespace fernwick
