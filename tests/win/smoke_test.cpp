#include <windows.h>

#include <gtest/gtest.h>

#include "base/prompt.h"

TEST(Smoke, AnsiCodePageIs936) { EXPECT_EQ(::GetACP(), 936u); }

TEST(Smoke, PromptAnswererSeesTheText) {
  std::wstring seen;
  fernwick::ScopedPromptAnswerer answer([&](const fernwick::PromptRequest& r) {
    seen = r.caption + L"|" + r.text;
    return IDNO;
  });
  EXPECT_EQ(fernwick::ShowPrompt(nullptr, L"你尚未加入图片", L"提示", MB_OK), IDNO);
  EXPECT_EQ(seen, L"提示|你尚未加入图片");
}
