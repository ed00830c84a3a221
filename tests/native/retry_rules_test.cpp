#include "upload/core/retry_rules.h"

#include <gtest/gtest.h>

namespace fernwick {
namespace {

// Only an attempt the server cannot have stored is repeated; a lost answer never is.
struct RetryCase {
  UploadEnd end;
  bool retried;
  bool connection;
  MissReason reason;
};
class RetryRuleTest : public ::testing::TestWithParam<RetryCase> {};
TEST_P(RetryRuleTest, RetriesOnlyWhereNothingCanHaveBeenStored) {
  EXPECT_EQ(MayRetry(GetParam().end), GetParam().retried);
  EXPECT_EQ(IsConnectionFailure(GetParam().end), GetParam().connection);
  EXPECT_EQ(MissReasonOf(GetParam().end), GetParam().reason);
}
INSTANTIATE_TEST_SUITE_P(
    Table, RetryRuleTest,
    ::testing::Values(RetryCase{UploadEnd::NoConnection, true, true, MissReason::NoConnection},
                      RetryCase{UploadEnd::BrokenBeforeBody, true, true, MissReason::NoConnection},
                      RetryCase{UploadEnd::ServerBusy, true, false, MissReason::Refused},
                      RetryCase{UploadEnd::AnswerLost, false, false, MissReason::MaybeOnSite},
                      RetryCase{UploadEnd::Refused, false, false, MissReason::Refused},
                      RetryCase{UploadEnd::TooLarge, false, false, MissReason::TooLarge},
                      RetryCase{UploadEnd::Unreadable, false, false, MissReason::Unreadable},
                      RetryCase{UploadEnd::Cancelled, false, false, MissReason::Cancelled}));

// A 503 says the server did not handle the request; a proxy's 502 or 504 after the whole body
// may hide a photo the server is still storing.
struct StatusCase {
  int status;
  bool bodySent;
  UploadEnd end;
};
class StatusRetryTest : public ::testing::TestWithParam<StatusCase> {};
TEST_P(StatusRetryTest, RetriesAStatusOnlyWhereNothingCanHaveBeenStored) {
  EXPECT_EQ(EndOfStatus(GetParam().status, GetParam().bodySent), GetParam().end);
  EXPECT_EQ(MayRetry(EndOfStatus(GetParam().status, GetParam().bodySent)), GetParam().end == UploadEnd::ServerBusy);
}
INSTANTIATE_TEST_SUITE_P(
    Table, StatusRetryTest,
    ::testing::Values(StatusCase{502, false, UploadEnd::ServerBusy}, StatusCase{503, false, UploadEnd::ServerBusy},
                      StatusCase{504, false, UploadEnd::ServerBusy}, StatusCase{502, true, UploadEnd::AnswerLost},
                      StatusCase{503, true, UploadEnd::ServerBusy}, StatusCase{504, true, UploadEnd::AnswerLost},
                      StatusCase{500, true, UploadEnd::Refused}, StatusCase{0, true, UploadEnd::AnswerLost}));

TEST(RetryWaitTest, GrowsFromAboutOneToFourSeconds) {
  EXPECT_EQ(RetryWaitMs(2), 1000u);
  EXPECT_EQ(RetryWaitMs(3), 4000u);
  EXPECT_EQ(kMaxUploadAttempts, 3);
}

// Only the photos the list cannot tell about are named, grouped by reason in a fixed order.
TEST(BatchSummaryTest, NamesOnlyPhotosNotTakenOrMaybeOnTheSite) {
  const struct {
    std::vector<MissedPhoto> missed;
    std::wstring text;
  } cases[] = {
      {{}, L""},
      {{{MissReason::Cancelled, L"c"}, {MissReason::NoConnection, L"a"}}, L""},
      {{{MissReason::Cancelled, L"c"},
        {MissReason::MaybeOnSite, L"b"},
        {MissReason::NoConnection, L"a"},
        {MissReason::Unreadable, L"u"},
        {MissReason::Refused, L"r"},
        {MissReason::TooLarge, L"t"},
        {MissReason::Refused, L"s"}},
       L"1张图片上传成功。\n有5张图片没有上传成功，它们仍在列表中：\n服务器没有接受：'r'，'s'\n文件太大：'t'\n"
       L"文件不能读取：'u'\n可能已经在网站上，请先查看网站：'b'"},
  };
  for (const auto& c : cases) EXPECT_EQ(BatchSummaryText(1, c.missed), c.text);
}

}  // namespace
}  // namespace fernwick
