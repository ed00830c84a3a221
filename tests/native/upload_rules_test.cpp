#include "upload/core/upload_rules.h"

#include "accounts/core/account_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace fernwick {
namespace {

struct VisibilityCase {
  int index;
  const char* status;
};
class VisibilityTest : public ::testing::TestWithParam<VisibilityCase> {};
TEST_P(VisibilityTest, MapsTheCheckedRadio) {
  EXPECT_STREQ(PhotoStatusForVisibility(GetParam().index), GetParam().status);
}
INSTANTIATE_TEST_SUITE_P(Table, VisibilityTest,
                         ::testing::Values(VisibilityCase{0, "1"}, VisibilityCase{1, "2"}, VisibilityCase{2, "0"},
                                           VisibilityCase{-1, "0"}, VisibilityCase{3, "0"},
                                           VisibilityCase{INT_MIN, "0"}));

struct QuotaCase {
  int32_t limit, used;
  int percent;
};
class BatchQuotaTest : public ::testing::TestWithParam<QuotaCase> {};
TEST_P(BatchQuotaTest, AddsOneAndHasNoCeiling) {
  EXPECT_EQ(BatchQuotaPercent(GetParam().limit, GetParam().used), GetParam().percent);
}
INSTANTIATE_TEST_SUITE_P(Table, BatchQuotaTest,
                         ::testing::Values(QuotaCase{0, 0, 0}, QuotaCase{0, 500, 0}, QuotaCase{100, 0, 1},
                                           QuotaCase{100, 29, 29}, QuotaCase{100, 100, 101},
                                           QuotaCase{1000000, 999000, 100}, QuotaCase{100, 150, 151},
                                           QuotaCase{3, 1, 34}, QuotaCase{INT32_MAX, INT32_MAX, 101},
                                           QuotaCase{52428800, 1048576, 3}));

// Figures a server could send that put the percentage beyond what an int holds: the line shows
// the nearest figure an int can carry, never a wrapped one.
INSTANTIATE_TEST_SUITE_P(BeyondAnInt, BatchQuotaTest,
                         ::testing::Values(QuotaCase{1, INT32_MAX, INT_MAX}, QuotaCase{2, 1000000000, INT_MAX},
                                           QuotaCase{-1, INT32_MAX, INT_MIN}, QuotaCase{1, INT32_MIN, INT_MIN},
                                           QuotaCase{1, 21474836, 2147483601}));

struct FitCase {
  int32_t limit, used, fileSize;
  bool fits;
};
class PhotoFitsQuotaTest : public ::testing::TestWithParam<FitCase> {};
TEST_P(PhotoFitsQuotaTest, ComparesTheRemainderWithTheFileSize) {
  EXPECT_EQ(PhotoFitsQuota(GetParam().limit, GetParam().used, GetParam().fileSize), GetParam().fits);
}
INSTANTIATE_TEST_SUITE_P(Table, PhotoFitsQuotaTest,
                         ::testing::Values(FitCase{1000000, 999000, 2000, false}, FitCase{1000000, 998000, 2000, true},
                                           FitCase{1000000, 997999, 2000, true}, FitCase{100, 100, 1, false},
                                           FitCase{100, 100, 0, true}, FitCase{100, 150, 0, false},
                                           FitCase{0, 0, 1, false},
                                           // Remainders past the 32-bit range neither wrap nor
                                           // turn a negative limit into room.
                                           FitCase{INT32_MIN, 1, 1000, false}, FitCase{INT32_MIN, INT32_MAX, 0, false},
                                           FitCase{INT32_MAX, -1, INT32_MAX, true},
                                           FitCase{INT32_MAX, INT32_MIN, INT32_MAX, true}));

TEST(BatchQuotaText, FormatsThePercentage) {
  // The quota line the account shows is built from the batch's percentage by its own text.
  const auto BatchQuotaText = [](int32_t limit, int32_t used) { return QuotaText(BatchQuotaPercent(limit, used)); };
  EXPECT_EQ(BatchQuotaText(100, 0), L"使用了1%的本月上传空间");
  EXPECT_EQ(BatchQuotaText(100, 100), L"使用了101%的本月上传空间");
  EXPECT_EQ(BatchQuotaText(0, 7), L"使用了0%的本月上传空间");
}

constexpr char kBase[] = "http://photos.example";
constexpr char kPrefix[] = "http://photos.example/PhotosBatch.aspx?photoIDs=";

TEST(BatchViewAddress, NewestFirstWithoutTrailingComma) {
  EXPECT_EQ(BatchViewAddress(kBase, {11, 12, 13, 21, 22}), std::string(kPrefix) + "22,21,13,12,11");
  EXPECT_EQ(BatchViewAddress(kBase, {7}), std::string(kPrefix) + "7");
}

TEST(BatchViewAddress, NoIdsLeaveThePrefixAlone) { EXPECT_EQ(BatchViewAddress(kBase, {}), kPrefix); }

TEST(BatchViewAddress, KeepsOnlyTheNewestHundred) {
  std::vector<int32_t> ids;
  for (int32_t id = 1; id <= 250; ++id) ids.push_back(id);
  const std::string address = BatchViewAddress(kBase, ids);
  const std::string list = address.substr(std::string(kPrefix).size());
  EXPECT_EQ(list.substr(0, 8), "250,249,");
  EXPECT_EQ(list.substr(list.size() - 4), ",151");
  EXPECT_EQ(std::count(list.begin(), list.end(), ','), 99);
  EXPECT_EQ(list.find("150"), std::string::npos);
}

TEST(BatchViewAddress, ExactlyAHundredAreAllKept) {
  std::vector<int32_t> ids(100, 5);
  ids.front() = 1;
  const std::string address = BatchViewAddress(kBase, ids);
  EXPECT_EQ(address.substr(address.size() - 2), ",1");
  EXPECT_NE(address.back(), ',');
}

TEST(BatchViewAddress, LargeIdsAreWrittenWhole) {
  EXPECT_EQ(BatchViewAddress(kBase, {INT32_MAX, 1000000}), std::string(kPrefix) + "1000000,2147483647");
}

}  // namespace
}  // namespace fernwick
