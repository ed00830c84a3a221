#include <windows.h>

#include <gtest/gtest.h>

#include "base/prompt.h"

TEST(Smoke, AnsiCodePageIs936) { EXPECT_EQ(::GetACP(), 936u); }

TEST(Smoke, PromptAnswererSeesTheText) {
  std::string seen;
  fernwick::ScopedPromptAnswerer answer([&](const fernwick::PromptRequest& r) {
    seen = r.caption + "|" + r.text;
    return IDNO;
  });
  EXPECT_EQ(fernwick::ShowPrompt(nullptr, "你尚未加入图片", "提示", MB_OK), IDNO);
  EXPECT_EQ(seen, "提示|你尚未加入图片");
}
