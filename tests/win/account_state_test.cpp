#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accounts/account_state.h"

namespace fernwick {
namespace {

using Saved = std::vector<AccountEntry>;

void Expect(const AccountState& s, const AccountEntry& current, const wchar_t* user, const wchar_t* quota,
            const Saved& saved, const char* step) {
  EXPECT_EQ((AccountEntry{s.currentUserName(), s.currentPassword()}), current) << step;
  EXPECT_EQ(s.currentUserText(), user) << step;
  EXPECT_EQ(s.quotaText(), quota) << step;
  EXPECT_EQ(s.savedAccounts(), saved) << step;
}

// One state through every operation: which fields each changes, and the two lines it makes.
TEST(AccountState, OperationsKeepTheFieldsAndLinesTogether) {
  AccountState s;
  s.Load({L"bob", L""}, {{L"bob", L""}, {L"carol", L"c"}}, false);
  s.ShowUnconfirmed();
  Expect(s, {L"bob", L""}, L"", L"", {{L"bob", L""}, {L"carol", L"c"}}, "unconfirmed, no password");
  s.AddSaved({L"bob", L"b"}, true);
  s.SignedIn({L"bob", L"b"}, 30, "blog");
  Expect(s, {L"bob", L"b"}, L"当前用户:bob", L"使用了30%的本月上传空间", {{L"bob", L"b"}, {L"carol", L"c"}}, "in");
  EXPECT_EQ(s.blogName(), "blog");
  s.AddSaved({L"bob", L"b2"}, false);
  s.ShowUnconfirmed();
  Expect(s, {L"bob", L"b"}, L"当前用户:bob", L"", {{L"bob", L"b"}, {L"carol", L"c"}, {L"bob", L"b2"}}, "twin");
  EXPECT_FALSE(s.RemoveSaved({L"carol", L"x"}));
  EXPECT_TRUE(s.RemoveSaved({L"bob", L"b2"}));
  s.ShowQuota(5);
  s.Switch({L"carol", L"c"});
  Expect(s, {L"carol", L"c"}, L"当前用户:carol", L"使用了5%的本月上传空间", {{L"bob", L"b"}, {L"carol", L"c"}},
         "switch");
  s.ForgetCurrent();
  Expect(s, {}, L"", L"", {{L"bob", L"b"}}, "forgotten");
  s.Switch({L"bob", L"b"});
  s.HideQuota();
  s.SignOut();
  Expect(s, {}, L"", L"", {{L"bob", L"b"}}, "signed out");
}

}  // namespace
}  // namespace fernwick
