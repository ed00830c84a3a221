#include "upload_form.h"

#include <gtest/gtest.h>

#include <string>

#include "service/core/upload_body.h"

namespace refserver {
namespace {

const std::string kBoundary = fernwick::kUploadBoundary;

TEST(UploadForm, ReadsWhatTheProgramBuilds) {
  const std::string content = "\xFF\xD8 --" + kBoundary + "\r\n fake part \r\n\xFF\xD9";
  const fernwick::UploadFields fields{"tok", "a b", "2", "\xCE\xF7", "C:\\p\\\xCE\xF7.jpg"};
  const std::string body = fernwick::BuildUploadBody(fields, content);
  const auto parsed = ParseUploadForm(body, kBoundary);
  ASSERT_TRUE(std::holds_alternative<UploadForm>(parsed)) << std::get<std::string>(parsed);
  const auto& form = std::get<UploadForm>(parsed);
  EXPECT_EQ(form.authstr, "tok");
  EXPECT_EQ(form.tags, "a b");
  EXPECT_EQ(form.photostatus, "2");
  EXPECT_EQ(form.title, "\xCE\xF7");
  EXPECT_EQ(form.partName, "\xCE\xF7");
  EXPECT_EQ(form.fileName, "C:\\p\\\xCE\xF7.jpg");
  EXPECT_EQ(body.substr(form.beginpos, form.endpos - form.beginpos), content);
}

TEST(UploadForm, EmptyFieldsAndEmptyFile) {
  const std::string body = fernwick::BuildUploadBody({"t", "", "0", "", "p"}, "");
  const auto parsed = ParseUploadForm(body, kBoundary);
  ASSERT_TRUE(std::holds_alternative<UploadForm>(parsed)) << std::get<std::string>(parsed);
  EXPECT_EQ(std::get<UploadForm>(parsed).tags, "");
  EXPECT_EQ(std::get<UploadForm>(parsed).beginpos, std::get<UploadForm>(parsed).endpos);
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

struct BrokenCase {
  const char* name;
  std::string (*spoil)(const std::string& body);
};

class UploadFormRefusesTest : public ::testing::TestWithParam<BrokenCase> {};
TEST_P(UploadFormRefusesTest, BodyThatDoesNotAddUp) {
  const std::string body = fernwick::BuildUploadBody({"tok", "x", "1", "t", "C:\\t.jpg"}, std::string(300, 'c'));
  ASSERT_TRUE(std::holds_alternative<UploadForm>(ParseUploadForm(body, kBoundary)));
  const std::string spoiled = GetParam().spoil(body);
  EXPECT_TRUE(std::holds_alternative<std::string>(ParseUploadForm(spoiled, kBoundary)));
}
INSTANTIATE_TEST_SUITE_P(
    Table, UploadFormRefusesTest,
    ::testing::Values(
        BrokenCase{"BeginposTooLarge",
                   [](const std::string& b) {
                     const std::string begin =
                         std::to_string(fernwick::UploadBodyHead({"tok", "x", "1", "t", "C:\\t.jpg"}).size());
                     return Replace(b, "\r\n\r\n" + begin + "\r\n",
                                    "\r\n\r\n" + std::to_string(std::stoi(begin) + 1) + "\r\n");
                   }},
        BrokenCase{"EndposShort",
                   [](const std::string& b) {
                     return Replace(
                         b,
                         "\r\n\r\n" +
                             std::to_string(b.find("\r\n--" + kBoundary +
                                                   "\r\nContent-Disposition: form-data; name=\"beginpos\"")) +
                             "\r\n",
                         "\r\n\r\n1\r\n");
                   }},
        BrokenCase{"FileCutShort",
                   [](const std::string& b) { return Replace(b, std::string(300, 'c'), std::string(299, 'c')); }},
        BrokenCase{"NoClosingDelimiter", [](const std::string& b) { return b.substr(0, b.size() - 4); }},
        BrokenCase{
            "NotANumber",
            [](const std::string& b) { return Replace(b, "name=\"endpos\"\r\n\r\n", "name=\"endpos\"\r\n\r\nx"); }},
        BrokenCase{"OtherBoundary",
                   [](const std::string& b) { return Replace(b, "--" + kBoundary + "\r\n", "--other\r\n"); }},
        BrokenCase{"NoFilePart", [](const std::string& b) { return Replace(b, "\";filename=\"", "\"; file=\""); }},
        BrokenCase{"Empty", [](const std::string&) { return std::string(); }}),
    [](const auto& info) { return info.param.name; });

TEST(UploadForm, BoundaryFromContentType) {
  EXPECT_EQ(BoundaryOf("multipart/form-data; boundary=" + kBoundary), kBoundary);
  EXPECT_EQ(BoundaryOf("multipart/form-data; boundary=abc; charset=x"), "abc");
  EXPECT_EQ(BoundaryOf("text/plain"), "");
}

}  // namespace
}  // namespace refserver
