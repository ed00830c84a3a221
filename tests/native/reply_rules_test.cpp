#include "service/core/reply_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace fernwick {
namespace {

struct TextCase {
  const char* name;
  std::string reply;
  std::string key;
  std::string expected;
};

class ReplyStatusTest : public ::testing::TestWithParam<TextCase> {};
TEST_P(ReplyStatusTest, ReadsTheAuthenticationStatus) { EXPECT_EQ(ReplyStatus(GetParam().reply), GetParam().expected); }
INSTANTIATE_TEST_SUITE_P(
    Rules, ReplyStatusTest,
    ::testing::Values(TextCase{"Ok", "<userauth stat='ok'><authstr>a</authstr></userauth>", "", "ok"},
                      TextCase{"ZeroK", "<userauth stat='0k'/>", "", "0k"},
                      TextCase{"Capitals", "<userauth stat='OK'/>", "", "OK"},
                      TextCase{"NoClosingQuote", "<userauth stat='ok", "", ""},
                      TextCase{"NoMarker", "<auth stat='ok'/>", "", ""}, TextCase{"Empty", "", "", ""},
                      TextCase{"EmptyStatus", "<userauth stat=''/>", "", ""},
                      TextCase{"FirstMarkerWins", "<userauth stat='fail'/><userauth stat='ok'/>", "", "fail"},
                      TextCase{"NeedsTheSpace", "<userauthstat='ok'/>", "", ""}),
    [](const auto& info) { return info.param.name; });

class ElementTextTest : public ::testing::TestWithParam<TextCase> {};
TEST_P(ElementTextTest, ReadsTheElement) {
  EXPECT_EQ(ElementText(GetParam().reply, GetParam().key), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Rules, ElementTextTest,
    ::testing::Values(TextCase{"Plain", "<limit>100</limit>", "limit", "100"},
                      TextCase{"FirstOfTwo", "<limit>100</limit><limit>200</limit>", "limit", "100"},
                      TextCase{"CloseBeforeOpen", "</limit><limit>100</limit>", "limit", ""},
                      TextCase{"MissingClose", "<limit>100", "limit", ""},
                      TextCase{"MissingOpen", "100</limit>", "limit", ""},
                      TextCase{"EmptyElement", "<authstr></authstr>", "authstr", ""},
                      TextCase{"NotTrimmed", "<used> 7 \r\n</used>", "used", " 7 \r\n"},
                      TextCase{"NotDecoded", "<blogname>a&amp;b</blogname>", "blogname", "a&amp;b"},
                      TextCase{"ChineseBytes", "<blogname>\xC0\xEE\xCB\xC4</blogname>", "blogname", "\xC0\xEE\xCB\xC4"},
                      TextCase{"OpenTagWithAttributeIsNotOpen", "<limit a='1'>5</limit>", "limit", ""},
                      TextCase{"CloseTagInsideOpenTag", "<a></a>", "a", ""},
                      TextCase{"OtherKey", "<limit>1</limit>", "used", ""}),
    [](const auto& info) { return info.param.name; });

class AttributeValueTest : public ::testing::TestWithParam<TextCase> {};
TEST_P(AttributeValueTest, ReadsTheAttribute) {
  EXPECT_EQ(AttributeValue(GetParam().reply, GetParam().key), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Rules, AttributeValueTest,
    ::testing::Values(TextCase{"PhotoidBeforeStat", "<r photoid='17' stat='ok'/>", "photoid", "17"},
                      TextCase{"StatAfterPhotoid", "<r photoid='17' stat='ok'/>", "stat", "ok"},
                      TextCase{"MatchesInsideLongerName", "<userauth stat='ok'/>", "stat", "ok"},
                      TextCase{"FirstWins", "<r stat='fail' stat='ok'/>", "stat", "fail"},
                      TextCase{"NoQuoteAfter", "<r stat='ok", "stat", ""},
                      TextCase{"DoubleQuotesAreNotRead", "<r stat=\"ok\"/>", "stat", ""},
                      TextCase{"CaseMatters", "<r versionid='1.1'/>", "versionID", ""},
                      TextCase{"MixedCase", "<r versionID='1.1' versionURL='http://h/d'/>", "versionURL", "http://h/d"},
                      TextCase{"Missing", "<r/>", "isupgrade", ""}),
    [](const auto& info) { return info.param.name; });

struct NumberCase {
  const char* name;
  std::string text;
  int32_t expected;
};
class ReplyNumberTest : public ::testing::TestWithParam<NumberCase> {};
TEST_P(ReplyNumberTest, ReadsLikeTheCLibrary) { EXPECT_EQ(ReplyNumber(GetParam().text), GetParam().expected); }
INSTANTIATE_TEST_SUITE_P(Rules, ReplyNumberTest,
                         ::testing::Values(NumberCase{"SpacesThenLetters", "  42abc", 42}, NumberCase{"Empty", "", 0},
                                           NumberCase{"Minus", "-5", -5}, NumberCase{"Plus", "+9", 9},
                                           NumberCase{"TabsAndNewlines", "\t\n 12", 12},
                                           NumberCase{"LettersFirst", "x12", 0}, NumberCase{"SignOnly", "-", 0},
                                           NumberCase{"SpaceAfterSign", "- 5", 0},
                                           NumberCase{"LargestInt", "2147483647", 2147483647},
                                           NumberCase{"HeldAtMaximum", "99999999999", 2147483647},
                                           NumberCase{"SmallestInt", "-2147483648", INT32_MIN},
                                           NumberCase{"HeldAtMinimum", "-99999999999", INT32_MIN},
                                           NumberCase{"LeadingZeros", "007", 7}, NumberCase{"Decimal", "3.9", 3}),
                         [](const auto& info) { return info.param.name; });

TEST(ReplyRules, ElementClosingAfterTheLimitIsEmptyOnceCut) {
  // A 1500-byte reply whose used element closes after byte 1024, kept to its first 1024 bytes.
  std::string reply = "<userauth stat='ok'><used>";
  reply += std::string(1024 - reply.size() - 2, '5');
  reply += "</used></userauth>";
  reply.resize(1500, ' ');
  const std::string kept = reply.substr(0, 1024);
  EXPECT_NE(ElementText(reply, "used"), "");
  EXPECT_EQ(ElementText(kept, "used"), "");
  EXPECT_EQ(ReplyNumber(ElementText(kept, "used")), 0);
}

}  // namespace
}  // namespace fernwick
