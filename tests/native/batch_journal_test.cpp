#include "upload/core/batch_journal.h"

#include <gtest/gtest.h>

#include "upload/core/journal_text.h"
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
                   Settings({{"C:\\My Photos\\x.jpg", -90, JournalState::Failed, 0}})},
        DecodeCase{"in doubt", kHead + "photo sending 90 0 a\nphoto unsure 0 0 b\n",
                   Settings({{"a", 90, JournalState::Sending, 0}, {"b", 0, JournalState::MaybeOnSite, 0}})},
        DecodeCase{"unsure with an id", kHead + "photo unsure 0 5 a\n", Settings()},
        DecodeCase{"a short byte escape", kHead + "photo waiting 0 0 a\\x1\n", Settings()},
        DecodeCase{"a byte escape not hex", kHead + "photo waiting 0 0 a\\x-1\n", Settings()}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

// A running batch appends a line a change to the journal it started: the changes count in their
// order as far as they are whole and understood, and a journal written whole takes none.
const BatchJournal kStarted = Settings({{"a", 0, JournalState::Waiting, 0}, {"b", 90, JournalState::Waiting, 0}});
const std::string kChanges =
    EncodeBatchJournal(kStarted, JournalForm::kChangesFollow) + EncodeJournalChange(0, JournalState::Sending, 0) +
    EncodeJournalChange(0, JournalState::Sent, 4711) + EncodeJournalChange(1, JournalState::MaybeOnSite, 9);
BatchJournal Changed(JournalState second) {
  return Settings({{"a", 0, JournalState::Sent, 4711}, {"b", 90, second, 0}});
}
INSTANTIATE_TEST_SUITE_P(
    Changes, BatchJournalDecodeTest,
    ::testing::Values(
        DecodeCase{"all whole", kChanges, Changed(JournalState::MaybeOnSite)},
        DecodeCase{"the last cut off", kChanges.substr(0, kChanges.size() - 3), Changed(JournalState::Waiting)},
        DecodeCase{"of a photo not there", kChanges + "change 2 failed 0\nchange 1 failed 0\n",
                   Changed(JournalState::MaybeOnSite)},
        DecodeCase{"sent without an id", kChanges + "change 1 sent 0\n", Changed(JournalState::MaybeOnSite)},
        DecodeCase{"after a journal written whole",
                   EncodeBatchJournal(kStarted) + EncodeJournalChange(0, JournalState::Sent, 5), kStarted}));

// Every text a user can give, control characters and lone surrogates (a file name may hold
// one) included, reads back as it went in.
TEST(BatchJournalTest, KeepsEveryTextExactly) {
  const std::u16string tags = u"a\x01\x1f\x7f\\x01\t\r\n旅行";
  const std::u16string paths[] = {u"C:\\\xD800x.jpg", u"C:\\\xDFFF.jpg", u"\xDC00\xD800", u"\U0001F600\xDBFF"};
  for (const std::u16string& path : paths) {
    const BatchJournal journal{JournalBytesFromUtf16(tags), 0, {{JournalBytesFromUtf16(path), 0, {}, 0}}};
    const std::optional<BatchJournal> read = DecodeBatchJournal(EncodeBatchJournal(journal));
    ASSERT_TRUE(read && read->photos.size() == 1);
    EXPECT_EQ(Utf16FromJournalBytes(read->tags), tags);
    EXPECT_EQ(Utf16FromJournalBytes(read->photos[0].sourcePath), path);
  }
  // What an earlier program wrote is plain UTF-8; bytes that are none read as U+FFFD each.
  EXPECT_EQ(Utf16FromJournalBytes("\xE6\xB5\xB7\xF0\x9F\x98\x80"), u"海\U0001F600");
  EXPECT_EQ(Utf16FromJournalBytes("\xC0\xAF"
                                  "a\xE6\xB5"),
            u"\uFFFD\uFFFDa\uFFFD\uFFFD");
}

TEST(BatchJournalTest, RecordsTheTurnFromTheOriginal) {
  EXPECT_EQ(TurnFromOriginal(0, -90), -90);
  EXPECT_EQ(TurnFromOriginal(90, 0), 90);  // a copy turned by an earlier batch, not turned since
  EXPECT_EQ(TurnFromOriginal(270, 180), 90);
  EXPECT_EQ(TurnFromOriginal(180, -180), 0);
  EXPECT_EQ(TurnFromOriginal(0, -270), -270);
}

UnfinishedPhotos Unsent(size_t unsent, std::vector<std::wstring> missing) {
  return {unsent, 0, missing, unsent - missing.size(), 0};
}

TEST(ResumeQuestionTest, SaysHowManyWereNotSentAndNamesEachMissingOriginal) {
  EXPECT_EQ(ResumeQuestionText(Unsent(2, {})), L"上次的上传没有完成，有2张图片没有发送。\n要把它们放回图片列表吗？");
  EXPECT_EQ(ResumeQuestionText(Unsent(3, {L"C:\\a.jpg"})),
            L"上次的上传没有完成，有3张图片没有发送。\n其中1张的原文件找不到了，不能放回：\n'C:\\a.jpg'\n"
            L"要把其余2张图片放回图片列表吗？");
  EXPECT_EQ(ResumeQuestionText(Unsent(2, {L"a", L"b"})),
            L"上次的上传没有完成，有2张图片没有发送。\n它们的原文件都找不到了，不能放回图片列表：\n'a'\n'b'");
}

TEST(ResumeQuestionTest, CountsThoseThatMayBeOnTheSiteApart) {
  EXPECT_EQ(ResumeQuestionText({2, 1, {}, 2, 1}),
            L"上次的上传没有完成，有2张图片没有发送。\n另有1张图片发送时中断，可能已经在网站上，请先查看网站。\n"
            L"要把没有发送的2张图片放回图片列表吗？");
  EXPECT_EQ(ResumeQuestionText({0, 2, {}, 0, 2}),
            L"上次的上传没有完成。\n有2张图片发送时中断，可能已经在网站上，请先查看网站。");
  EXPECT_EQ(ResumeUnsureQuestionText(2),
            L"有2张图片可能已经在网站上，再发送一次可能在网站上重复。\n要把它们也放回图片列表吗？");
}

TEST(ResumeQuestionTest, NamesTenMissingOriginalsAndCountsTheRest) {
  std::vector<std::wstring> missing;
  std::wstring named;
  for (int number = 0; number < 12; ++number) missing.push_back(std::to_wstring(number));
  for (int number = 0; number < 10; ++number) named += L"\n'" + std::to_wstring(number) + L"'";
  EXPECT_EQ(ResumeQuestionText(Unsent(13, missing)),
            L"上次的上传没有完成，有13张图片没有发送。\n其中12张的原文件找不到了，不能放回：" + named +
                L"\n还有2张\n要把其余1张图片放回图片列表吗？");
}

}  // namespace
}  // namespace fernwick
