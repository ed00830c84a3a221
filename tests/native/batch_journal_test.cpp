#include "upload/core/batch_journal.h"

#include <gtest/gtest.h>

#include "upload/core/resume_question.h"

namespace fernwick {
namespace {

const BatchJournal kJournal{"海边\n旅行 \\x",
                            2,
                            {{"C:\\Photos\\a.jpg", 0, JournalState::Sent, 4711},
                             {"D:\\照片\\b c.png", -270, JournalState::Waiting, 0},
                             {"\\\\server\\share\\d.jpg", 90, JournalState::Failed, 0}}};

const std::string kText =
    "fernwick batch journal 1\n"
    "tags 海边\\n旅行 \\\\x\n"
    "visibility 2\n"
    "photo sent 0 4711 C:\\\\Photos\\\\a.jpg\n"
    "photo waiting -270 0 D:\\\\照片\\\\b c.png\n"
    "photo failed 90 0 \\\\\\\\server\\\\share\\\\d.jpg\n";

BatchJournal WithPhotos(size_t count) {
  BatchJournal journal = kJournal;
  journal.photos.resize(count);
  return journal;
}

TEST(BatchJournalTest, EncodesOneFactALine) { EXPECT_EQ(EncodeBatchJournal(kJournal), kText); }

// Whatever the file holds, reading it never fails worse than "no journal", and keeps what is
// whole in front of a fault.
struct DecodeCase {
  const char* name;
  std::string bytes;
  std::optional<BatchJournal> expected;
};
class BatchJournalDecodeTest : public ::testing::TestWithParam<DecodeCase> {};
TEST_P(BatchJournalDecodeTest, ReadsAsFarAsTheLinesAreWhole) {
  EXPECT_EQ(DecodeBatchJournal(GetParam().bytes), GetParam().expected) << GetParam().name;
}
const std::string kHead = "fernwick batch journal 1\ntags t\nvisibility 1\n";
BatchJournal Settings(std::vector<JournalPhoto> photos = {}) { return BatchJournal{"t", 1, std::move(photos)}; }
INSTANTIATE_TEST_SUITE_P(
    Table, BatchJournalDecodeTest,
    ::testing::Values(
        DecodeCase{"whole", kText, kJournal},
        DecodeCase{"torn in the last photo", kText.substr(0, kText.size() - 5), WithPhotos(2)},
        DecodeCase{"last line without its end", kText.substr(0, kText.size() - 1), WithPhotos(2)},
        DecodeCase{"torn in the first photo", kText.substr(0, kText.find("photo sent") + 8), WithPhotos(0)},
        DecodeCase{"torn in the visibility", kText.substr(0, kText.find("visibility") + 5), std::nullopt},
        DecodeCase{"no visibility", "fernwick batch journal 1\ntags t\nphoto sent 0 1 a\n", std::nullopt},
        DecodeCase{"empty", "", std::nullopt}, DecodeCase{"torn heading", "fernwick batch jou", std::nullopt},
        DecodeCase{"another version", "fernwick batch journal 2\ntags t\nvisibility 1\n", std::nullopt},
        DecodeCase{"garbage", std::string("\x00\xff\x13garbage\n\n\n", 13), std::nullopt},
        DecodeCase{"visibility out of range", "fernwick batch journal 1\ntags t\nvisibility 7\n", std::nullopt},
        DecodeCase{"tags with an unknown escape", "fernwick batch journal 1\ntags \\q\nvisibility 0\n", std::nullopt},
        DecodeCase{"garbage after a photo", kHead + "photo waiting 0 0 a\n\x01\x02zz\nphoto waiting 0 0 b\n",
                   Settings({{"a", 0, JournalState::Waiting, 0}})},
        DecodeCase{"unknown state", kHead + "photo lost 0 0 a\n", Settings()},
        DecodeCase{"turn not a quarter", kHead + "photo waiting 45 0 a\n", Settings()},
        DecodeCase{"turn too far", kHead + "photo waiting 360 0 a\n", Settings()},
        DecodeCase{"turn not a number", kHead + "photo waiting 9x 0 a\n", Settings()},
        DecodeCase{"sent without an id", kHead + "photo sent 0 0 a\n", Settings()},
        DecodeCase{"waiting with an id", kHead + "photo waiting 0 5 a\n", Settings()},
        DecodeCase{"id too large", kHead + "photo sent 0 99999999999 a\n", Settings()},
        DecodeCase{"no path", kHead + "photo waiting 0 0 \n", Settings()},
        DecodeCase{"raw control character in a path", kHead + "photo waiting 0 0 a\tb\n", Settings()},
        DecodeCase{"lone backslash at the end", kHead + "photo waiting 0 0 a\\\n", Settings()},
        DecodeCase{"a blank in the path", kHead + "photo failed -90 0 C:\\\\My Photos\\\\x.jpg\n",
                   Settings({{"C:\\My Photos\\x.jpg", -90, JournalState::Failed, 0}})}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

TEST(ResumeQuestionTest, SaysHowManyWereNotSentAndNamesEachMissingOriginal) {
  EXPECT_EQ(ResumeQuestionText(2, {}), L"上次的上传没有完成，有2张图片没有发送。\n要把它们放回图片列表吗？");
  EXPECT_EQ(ResumeQuestionText(3, {L"C:\\a.jpg"}),
            L"上次的上传没有完成，有3张图片没有发送。\n其中1张的原文件找不到了，不能放回：\n'C:\\a.jpg'\n"
            L"要把其余2张图片放回图片列表吗？");
  EXPECT_EQ(ResumeQuestionText(2, {L"a", L"b"}),
            L"上次的上传没有完成，有2张图片没有发送。\n它们的原文件都找不到了，不能放回图片列表：\n'a'\n'b'");
}

}  // namespace
}  // namespace fernwick
