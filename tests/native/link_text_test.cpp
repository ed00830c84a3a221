#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/core/ansi_text.h"
#include "controls/core/link_text.h"

namespace fernwick {
namespace {

constexpr uint32_t Rgb(int r, int g, int b) {
  return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}

struct ColourCase {
  std::string text;
  std::optional<uint32_t> expected;
};

TEST(ColourText, Rules) {
  const std::vector<ColourCase> cases = {
      {"255,0,0", Rgb(255, 0, 0)},
      {"0,0,255", Rgb(0, 0, 255)},
      {"128,0,128", Rgb(128, 0, 128)},
      {" 10, 20, 30", Rgb(10, 20, 30)},
      {"256,257,258", Rgb(0, 1, 2)},  // low 8 bits
      {"x,y,z", Rgb(0, 0, 0)},        // atoi gives 0 for each
      {"1,2,3junk", Rgb(1, 2, 3)},
      {"1,2,-1", Rgb(1, 2, 255)},  // only the first two may not be -1
      {"255,0", std::nullopt},
      {"255 0 0", std::nullopt},
      {"", std::nullopt},
      {"1,2,", std::nullopt},
      {"-1,2,3", std::nullopt},
      {"1,-1,3", std::nullopt},
      {",,5", Rgb(0, 0, 5)},
  };
  for (const ColourCase& c : cases) {
    EXPECT_EQ(ParseColourText(c.text), c.expected) << "'" << c.text << "'";
  }
}

TEST(ColourText, RegistryValueShape) {
  const unsigned char good[] = "255,0,0";
  EXPECT_EQ(ParseColourValue(good, sizeof(good)), Rgb(255, 0, 0));
  EXPECT_EQ(ParseColourValue(good, sizeof(good) - 1), std::nullopt) << "no terminating zero";
  const unsigned char twelve[] = "100,100,100";  // 11 characters + zero = 12 bytes
  EXPECT_EQ(ParseColourValue(twelve, sizeof(twelve)), Rgb(100, 100, 100));
  const unsigned char thirteen[] = "100,100,1000";
  EXPECT_EQ(ParseColourValue(thirteen, sizeof(thirteen)), std::nullopt) << "longer than 12 bytes";
  EXPECT_EQ(ParseColourValue(nullptr, 0), std::nullopt);
}

struct MarkupCase {
  std::wstring caption;
  bool hasLink;
  std::wstring prefix, link, suffix;
};

TEST(LinkMarkup, Rules) {
  const std::vector<MarkupCase> cases = {
      {L"<A>注册为Lumora用户</A>", true, L"", L"注册为Lumora用户", L""},
      {L"Go to <a>site</a> now", true, L"Go to ", L"site", L" now"},
      {L"plain caption", false, L"", L"", L""},
      {L"before <A>unterminated", true, L"before ", L"", L""},
      {L"<A></A>", true, L"", L"", L""},
      {L"x<A>one</A>y</A>z", true, L"x", L"one", L"y</A>z"},
      {L"<a>MiXeD</A>", true, L"", L"MiXeD", L""},
  };
  for (const MarkupCase& c : cases) {
    const LinkMarkup m = ParseLinkMarkup(c.caption);
    EXPECT_EQ(m.hasLink, c.hasLink) << c.caption;
    EXPECT_EQ(m.prefix, c.prefix) << c.caption;
    EXPECT_EQ(m.link, c.link) << c.caption;
    EXPECT_EQ(m.suffix, c.suffix) << c.caption;
  }
}

TEST(AnsiText, SearchStepsOverDoubleByteCharacters) {
  // "\x81<" would contain '<' as a trail byte; it must not be taken for the tag's.
  const std::string text = std::string("\x81<A>") + "<A>x";
  EXPECT_EQ(FindCp936Char(text, '<'), 4u);
  EXPECT_EQ(FindCp936Char(std::string("\x81,") + ",", ','), 2u);
  EXPECT_EQ(FindCp936Char("abc", ','), std::string::npos);
}

TEST(AnsiText, AtoiRules) {
  EXPECT_EQ(AtoiRules(" \n-42z"), -42);
  EXPECT_EQ(AtoiRules("z42"), 0);
  EXPECT_EQ(AtoiRules("-99999999999"), -2147483647 - 1);
}

}  // namespace
}  // namespace fernwick
