#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accounts/core/settings_text.h"

namespace fernwick {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

TEST(SettingsCipher, OutputHasInputLengthAndRoundTrips) {
  for (std::size_t length : {0u, 1u, 2u, 7u, 255u, 4096u}) {
    std::string plain;
    for (std::size_t i = 0; i < length; ++i) plain += static_cast<char>((i * 37 + 11) & 0xFF);
    const std::string stored = EncipherSettingsText(plain);
    ASSERT_EQ(stored.size(), plain.size());
    EXPECT_EQ(DecipherSettingsText(stored), plain) << "length " << length;
  }
}

TEST(SettingsCipher, HidesTheText) {
  const std::string plain = Bytes({1, 2}) + "1024" + Bytes({2}) + "alice" + Bytes({1}) + "secret" + Bytes({2});
  const std::string stored = EncipherSettingsText(plain);
  EXPECT_EQ(stored.find("secret"), std::string::npos);
  EXPECT_EQ(stored.find("alice"), std::string::npos);
  EXPECT_NE(stored, plain);
}

TEST(SettingsCipher, EachByteDependsOnEveryEarlierStoredByte) {
  // Autokey: changing one plain byte changes the stream after it, not before it.
  std::string a(16, 'x'), b(16, 'x');
  b[5] = 'y';
  const std::string sa = EncipherSettingsText(a), sb = EncipherSettingsText(b);
  EXPECT_EQ(sa.substr(0, 5), sb.substr(0, 5));
  EXPECT_NE(sa.substr(6), sb.substr(6));
}

TEST(SettingsCipher, DecipherOfDamagedBytesStillHasTheSameLength) {
  const std::string damaged = Bytes({0xFF, 0x00, 0x7F, 0x80});
  EXPECT_EQ(DecipherSettingsText(damaged).size(), damaged.size());
}

TEST(SettingsText, SignedOutDefaultIsTheSevenByteText) {
  SettingsContent content;
  EXPECT_EQ(BuildSettingsText(content), Bytes({0x01, 0x02, 0x31, 0x30, 0x32, 0x34, 0x02}));
}

TEST(SettingsText, RecordsInOrder) {
  SettingsContent content{"bob", "pw", 800, {{"a", "1"}, {"b", "2"}}};
  EXPECT_EQ(BuildSettingsText(content),
            "bob\x01pw\x02"
            "800\x02"
            "a\x01"
            "1\x02"
            "b\x01"
            "2\x02");
  content.sizeLimit = -5;
  EXPECT_EQ(BuildSettingsText(content).substr(7, 3), "-5\x02");
}

TEST(SettingsText, RoundTripKeepsDuplicatesAndDoubleByteNames) {
  SettingsContent content;
  content.currentUserName = "张三";
  content.currentPassword = "密码12";
  content.sizeLimit = 1600;
  content.savedAccounts = {{"张三", "密码12"}, {"bob", "x"}, {"张三", "另一个"}, {"bob", "x"}, {"", "only"}};
  const SettingsContent back =
      ParseSettingsText(DecipherSettingsText(EncipherSettingsText(BuildSettingsText(content))));
  EXPECT_EQ(back.currentUserName, content.currentUserName);
  EXPECT_EQ(back.currentPassword, content.currentPassword);
  EXPECT_EQ(back.sizeLimit, 1600);
  EXPECT_EQ(back.savedAccounts, content.savedAccounts);
}

struct SizeCase {
  std::string field;
  int expected;
};

TEST(SettingsText, SizeFieldReadWithAtoiRules) {
  const std::vector<SizeCase> cases = {
      {"0", 1024},    {"", 1024},     {"abc", 1024}, {"800", 800},   {"1024", 1024},
      {"1280", 1280}, {"1600", 1600}, {"500", 500},  {"  640", 640}, {"+77", 77},
      {"-3", -3},     {"12ab", 12},   {"\t9x", 9},   {"-0", 1024},   {"99999999999", 2147483647},
      {"- 5", 1024},
  };
  for (const SizeCase& c : cases) {
    const std::string text = "\x01\x02" + c.field + "\x02";
    EXPECT_EQ(ParseSettingsText(text).sizeLimit, c.expected) << "field '" << c.field << "'";
  }
}

TEST(SettingsText, EmptyTextIsSignedOutWithDefaultSize) {
  const SettingsContent content = ParseSettingsText("");
  EXPECT_TRUE(content.currentUserName.empty());
  EXPECT_TRUE(content.currentPassword.empty());
  EXPECT_EQ(content.sizeLimit, 1024);
  EXPECT_TRUE(content.savedAccounts.empty());
}

struct ParseCase {
  const char* name;
  std::string text;
  std::string user, password;
  int size;
  std::vector<StoredAccount> accounts;
};

TEST(SettingsText, ParsingRules) {
  const std::vector<ParseCase> cases = {
      {"no separator at all", "garbage", "", "", 1024, {}},
      {"current record without 0x01", std::string("whole\x02") + "800\x02", "", "whole", 800, {}},
      {"only first 0x01 splits", std::string("u\x01p\x01q\x02") + "800\x02", "u", "p\x01q", 800, {}},
      {"size without closing separator",
       std::string("u\x01p\x02") + "1280" +
           "a\x01"
           "b\x02",
       "u",
       "p",
       1280,
       {}},
      {"empty record ends the list",
       std::string("u\x01p\x02") + "800\x02"
                                   "a\x01"
                                   "1\x02\x02"
                                   "b\x01"
                                   "2\x02",
       "u",
       "p",
       800,
       {{"a", "1"}}},
      {"record without 0x01 gives empty user",
       std::string("\x01\x02") + "800\x02"
                                 "lonely\x02",
       "",
       "",
       800,
       {{"", "lonely"}}},
      {"text after last separator ignored",
       std::string("\x01\x02") + "800\x02"
                                 "a\x01"
                                 "1\x02"
                                 "tail\x01zz",
       "",
       "",
       800,
       {{"a", "1"}}},
      {"zero byte ends the text",
       std::string("u\x01p\x02") +
           "800\x02"
           "a\x01"
           "1\x02" +
           std::string(1, '\0') +
           "b\x01"
           "2\x02",
       "u",
       "p",
       800,
       {{"a", "1"}}},
      {"zero inside first record", std::string("u\x01") + std::string(1, '\0') + "p\x02", "", "", 1024, {}},
      {"double-byte names",
       std::string("李四\x01") + "口令\x02"
                                 "1024\x02"
                                 "王五\x01"
                                 "x\x02",
       "李四",
       "口令",
       1024,
       {{"王五", "x"}}},
      {"duplicates as they come",
       std::string("\x01\x02") + "0\x02"
                                 "a\x01"
                                 "1\x02"
                                 "a\x01"
                                 "1\x02",
       "",
       "",
       1024,
       {{"a", "1"}, {"a", "1"}}},
  };
  for (const ParseCase& c : cases) {
    const SettingsContent content = ParseSettingsText(c.text);
    EXPECT_EQ(content.currentUserName, c.user) << c.name;
    EXPECT_EQ(content.currentPassword, c.password) << c.name;
    EXPECT_EQ(content.sizeLimit, c.size) << c.name;
    EXPECT_EQ(content.savedAccounts, c.accounts) << c.name;
  }
}

TEST(SettingsText, LeadByteBeforeSeparatorIsSteppedOverAsOneCharacter) {
  // 0x81 0x02 is not a valid pair in practice, but the search steps over the pair as the
  // system's multi-byte search does, so the first separator is the one after it.
  const std::string text = std::string(
                               "a\x81\x02"
                               "b\x01"
                               "c\x02") +
                           "900\x02";
  const SettingsContent content = ParseSettingsText(text);
  EXPECT_EQ(content.currentUserName, std::string("a\x81\x02"
                                                 "b"));
  EXPECT_EQ(content.currentPassword, "c");
  EXPECT_EQ(content.sizeLimit, 900);
}

}  // namespace
}  // namespace fernwick
