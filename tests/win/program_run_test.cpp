// The real fernwick.exe, run as a separate process: one instance only, and a normal close
// that leaves no work directory behind.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/single_instance.h"
#include "app/work_directories.h"
#include "support/file_links.h"
#include "support/program_runner.h"
#include "support/window_helpers.h"

namespace fernwick {
namespace {

class ProgramRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::Exists(test::ProgramPath())) << test::ProgramPath();
    ASSERT_TRUE(test::TopLevelWindowsTitled(kMainWindowCaption).empty()) << "another main window is open";
  }
};

TEST_F(ProgramRunTest, ASecondStartExitsWithZeroAndLeavesOneWindow) {
  test::ProgramRun first;
  ASSERT_TRUE(first.Start());
  HWND window = first.WaitForWindow(kMainWindowCaption);
  ASSERT_NE(window, nullptr);

  test::ProgramRun second;
  ASSERT_TRUE(second.Start());
  DWORD exitCode = 1234;
  ASSERT_TRUE(second.WaitForExit(exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(test::TopLevelWindowsTitled(kMainWindowCaption).size(), 1u);
  EXPECT_TRUE(::IsWindow(window));

  ::PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(first.WaitForExit(exitCode));
}

TEST_F(ProgramRunTest, ASecondStartRestoresAMinimisedFirstWindow) {
  test::ProgramRun first;
  ASSERT_TRUE(first.Start());
  HWND window = first.WaitForWindow(kMainWindowCaption);
  ASSERT_NE(window, nullptr);
  ::ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(::IsIconic(window));

  test::ProgramRun second;
  ASSERT_TRUE(second.Start());
  DWORD exitCode = 1234;
  ASSERT_TRUE(second.WaitForExit(exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_FALSE(::IsIconic(window));

  ::PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(first.WaitForExit(exitCode));
}

TEST_F(ProgramRunTest, ANormalCloseEndsWithOneAndRemovesBothWorkDirectories) {
  test::ProgramRun program;
  ASSERT_TRUE(program.Start());
  HWND window = program.WaitForWindow(kMainWindowCaption);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(test::Exists(ScaledCopiesDirectory()));
  EXPECT_TRUE(test::Exists(RotatedCopiesDirectory()));

  ::PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD exitCode = 0;
  ASSERT_TRUE(program.WaitForExit(exitCode));
  EXPECT_EQ(exitCode, 1u);
  EXPECT_FALSE(test::Exists(ScaledCopiesDirectory()));
  EXPECT_FALSE(test::Exists(RotatedCopiesDirectory()));
}

}  // namespace
}  // namespace fernwick
