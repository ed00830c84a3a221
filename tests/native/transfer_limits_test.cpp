#include "service/core/transfer_limits.h"

#include <gtest/gtest.h>

namespace fernwick {
namespace {

// The variable can shorten the limits for a test run, never lengthen them.
struct LimitsCase {
  const char* text;
  unsigned connectMs;
  unsigned stallMs;
};
class LoweredLimitsTest : public ::testing::TestWithParam<LimitsCase> {};
TEST_P(LoweredLimitsTest, OnlyLowers) {
  const TransferLimits limits = LoweredTransferLimits(GetParam().text);
  EXPECT_EQ(limits.connectMs, GetParam().connectMs) << GetParam().text;
  EXPECT_EQ(limits.stallMs, GetParam().stallMs) << GetParam().text;
}
INSTANTIATE_TEST_SUITE_P(Table, LoweredLimitsTest,
                         ::testing::Values(LimitsCase{"3000,4000", 3000, 4000}, LimitsCase{"", 15000, 60000},
                                           LimitsCase{"3000", 15000, 60000}, LimitsCase{"99999,60001", 15000, 60000},
                                           LimitsCase{"0,-5", 15000, 60000}, LimitsCase{"2s,1500", 15000, 1500},
                                           LimitsCase{"15000,60000", 15000, 60000}));

}  // namespace
}  // namespace fernwick
