#include "service/core/auth_rules.h"

#include <gtest/gtest.h>

#include "service/core/service_endpoint.h"

namespace fernwick {
namespace {

TEST(AuthPaths, PasswordTravelsUnescaped) {
  EXPECT_EQ(PasswordAuthPath("li", "a&b=c"), "/upload/auth.aspx?username=li&password=a&b=c");
  EXPECT_EQ(PasswordAuthPath("\xC0\xEE", "p w%"), "/upload/auth.aspx?username=\xC0\xEE&password=p w%");
  EXPECT_EQ(PasswordAuthPath("", ""), "/upload/auth.aspx?username=&password=");
}

TEST(AuthPaths, TokenTravelsUnescaped) { EXPECT_EQ(TokenAuthPath("t0k+/="), "/upload/auth.aspx?authstr=t0k+/="); }

struct PercentCase {
  int32_t limit, used, expected;
};
class UsagePercentTest : public ::testing::TestWithParam<PercentCase> {};
TEST_P(UsagePercentTest, FollowsTheSignInRule) {
  EXPECT_EQ(UsagePercent(GetParam().limit, GetParam().used), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Table, UsagePercentTest,
                         ::testing::Values(PercentCase{0, 0, 0}, PercentCase{0, 50, 0}, PercentCase{100, 100, 100},
                                           PercentCase{100, 150, 100}, PercentCase{3, 1, 33}, PercentCase{100, 29, 28},
                                           PercentCase{100, 0, 0}, PercentCase{100, 99, 99}, PercentCase{-5, 0, 100},
                                           PercentCase{INT32_MAX, INT32_MAX - 1, 99}, PercentCase{100, -10, 0}));

TEST(ServiceEndpoint, OverrideLastsForItsScope) {
  const ServiceEndpoint built = CurrentServiceEndpoint();
  {
    ScopedServiceEndpoint outer({"10.0.0.1", 1});
    EXPECT_EQ(CurrentServiceEndpoint().host, "10.0.0.1");
    {
      ScopedServiceEndpoint inner({"10.0.0.2", 2});
      EXPECT_EQ(CurrentServiceEndpoint().port, 2);
    }
    EXPECT_EQ(CurrentServiceEndpoint().port, 1);
  }
  EXPECT_EQ(CurrentServiceEndpoint().host, built.host);
  EXPECT_EQ(CurrentServiceEndpoint().port, built.port);
}

}  // namespace
}  // namespace fernwick
