// The real fernwick.exe, run as a separate process: one instance only, and a normal close
// that leaves no work directory behind.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/single_instance.h"
#include "base/handles.h"
#include "base/work_directories.h"
#include "support/file_links.h"
#include "support/program_runner.h"
#include "support/window_helpers.h"

namespace fernwick {
namespace {

class ProgramRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::FileExists(test::ProgramPath())) << test::ProgramPath();
    ASSERT_TRUE(test::TopLevelWindowsTitled(kMainWindowCaption).empty()) << "another main window is open";
    ASSERT_TRUE(first.Start());
    window = first.WaitForWindow(kMainWindowCaption);
    ASSERT_NE(window, nullptr);
  }
  // Starts the program again and returns its exit code (1234 when it did not end).
  DWORD RunSecondInstance() {
    test::ProgramRun second;
    DWORD exitCode = 1234;
    if (!second.Start() || !second.WaitForExit(exitCode)) return 1234;
    return exitCode;
  }
  // Closes the first instance the way the caption button does; its exit code.
  DWORD CloseFirst() {
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1234;
    first.WaitForExit(exitCode);
    return exitCode;
  }

  test::ProgramRun first;
  HWND window = nullptr;
};

TEST_F(ProgramRunTest, ASecondStartExitsWithZeroAndLeavesOneWindow) {
  EXPECT_EQ(RunSecondInstance(), 0u);
  EXPECT_EQ(test::TopLevelWindowsTitled(kMainWindowCaption).size(), 1u);
  EXPECT_TRUE(::IsWindow(window));
  EXPECT_EQ(CloseFirst(), 1u);
}

TEST_F(ProgramRunTest, ASecondStartRestoresAMinimisedFirstWindow) {
  ::ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(::IsIconic(window));
  EXPECT_EQ(RunSecondInstance(), 0u);
  EXPECT_FALSE(::IsIconic(window));
  EXPECT_EQ(CloseFirst(), 1u);
}

TEST_F(ProgramRunTest, ANormalCloseEndsWithOneAndRemovesBothWorkDirectories) {
  EXPECT_TRUE(test::FileExists(ScaledCopiesDirectory()));
  EXPECT_TRUE(test::FileExists(RotatedCopiesDirectory()));
  EXPECT_EQ(CloseFirst(), 1u);
  EXPECT_FALSE(test::FileExists(ScaledCopiesDirectory()));
  EXPECT_FALSE(test::FileExists(RotatedCopiesDirectory()));
}

// An Explorer window showing a folder named Fernwick has the main window's caption: the program
// still starts, and a second start then finds the program's window, not that one.
TEST(ProgramRun, AnotherWindowWithTheSameCaptionDoesNotStopTheStart) {
  const UniqueWindow decoy(::CreateWindowExW(0, L"STATIC", kMainWindowCaption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                             200, 100, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(decoy);
  test::ProgramRun first;
  ASSERT_TRUE(first.Start());
  const HWND window = first.WaitForWindow(kMainWindowCaption);
  ASSERT_NE(window, nullptr) << "the program did not start";
  EXPECT_EQ(FindRunningMainWindow(), window);
  test::ProgramRun second;
  DWORD exitCode = 1234;
  ASSERT_TRUE(second.Start() && second.WaitForExit(exitCode));
  EXPECT_EQ(exitCode, 0u);
  ::PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(first.WaitForExit(exitCode));
}

}  // namespace
}  // namespace fernwick
