#include <gtest/gtest.h>

#include "base/text_936.h"

namespace fernwick {
namespace {

// The bytes leave through code page 936 whatever the system's ANSI code page is.
TEST(Text936, ConversionsTable) {
  struct Row {
    const wchar_t* text;
    const char* lossy;  // code page 936 bytes (narrow literals are compiled to code page 936)
    bool exact;
  };
  const Row rows[] = {
      {L"", "", true},
      {L"abc 123", "abc 123", true},
      {L"海边", "海边", true},
      {L"海边 café", "海边 café", true},    // code page 936 has the pinyin vowels
      {L"Straße", "Stra?e", false},
      {L"한국", "??", false},
      {L"x\U0001F600y", "x?y", false},      // a surrogate pair is one character, one "?"
      {L"\uFF21", "Ａ", true},                // a full-width letter is in code page 936 itself
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.lossy);
    EXPECT_EQ(To936Lossy(row.text), row.lossy);
    const std::optional<std::string> exact = To936Exact(row.text);
    EXPECT_EQ(exact.has_value(), row.exact);
    if (exact) {
      EXPECT_EQ(*exact, row.lossy);
      EXPECT_EQ(WideFrom936(*exact), row.text);
    }
    EXPECT_EQ(WideFromUtf8(Utf8FromWide(row.text)), row.text);
  }
}

}  // namespace
}  // namespace fernwick
