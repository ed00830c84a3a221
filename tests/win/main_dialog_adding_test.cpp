// The main window while photos are added in the background: the progress line and Stop,
// Upload waiting, closing in the middle, and a file that is no picture among good ones.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "app/main_dialog.h"
#include "base/prompt.h"
#include "base/work_directories.h"
#include "res/main_window_ids.h"
#include "support/held_preparation.h"
#include "support/photo_test_pictures.h"
#include "support/shell_drop.h"
#include "support/test_files.h"
#include "support/window_helpers.h"

namespace fernwick {
namespace {

class MainAdding : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = test::FreshDirectory(L"fernwick-main-adding");
    ASSERT_NE(dialog.Create(nullptr), nullptr);
    ::ShowWindow(dialog.hwnd(), SW_SHOW);
    for (const wchar_t* name : {L"a.png", L"b.png", L"c.png"}) {
      paths.push_back(folder + name);
      ASSERT_TRUE(test::WriteQuadrantPicture(paths.back(), 64, 48, "png"));
    }
  }
  void TearDown() override {
    held.ReleaseAll();
    if (::IsWindow(dialog.hwnd())) ::DestroyWindow(dialog.hwnd());
    test::RemoveDirectoryTree(folder);
  }
  // Returns once the drop's paths are walked and the pictures in the preparer's hands.
  void Drop(const std::vector<std::wstring>& names) {
    ::SendMessageW(dialog.view().hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(test::MakeDrop(names)), 0);
    // The walk is part of the add: its line shows until the pictures are found.
    EXPECT_EQ(test::WindowText(Item(ids::kAddingText)), L"正在查找图片");
    EXPECT_TRUE(::IsWindowVisible(Item(ids::kAddingStop)));
    EXPECT_TRUE(test::PumpUntil([&] { return !dialog.walk().busy(); }));
  }
  void Command(int id) { test::Command(dialog.hwnd(), id); }
  HWND Item(int id) const { return ::GetDlgItem(dialog.hwnd(), id); }

  std::wstring folder;
  std::vector<std::wstring> paths;
  test::HeldPreparation held;
  MainDialog dialog{held.Function()};
};

TEST_F(MainAdding, ProgressShowsWhileAddingUploadWaitsAndStopEndsIt) {
  std::vector<PromptRequest> told;
  ScopedPromptAnswerer answer([&](const PromptRequest& request) {
    told.push_back(request);
    return IDOK;
  });
  Drop(paths);
  held.Release(paths[0]);
  ASSERT_TRUE(test::PumpUntil([&] { return dialog.photos().Count() == 1; }));
  EXPECT_TRUE(::IsWindowVisible(Item(ids::kAddingStop)));
  EXPECT_TRUE(::IsWindowVisible(Item(ids::kAddingBar)));
  // The line follows the add a moment later, at most ten times a second.
  EXPECT_EQ(test::WindowText(Item(ids::kAddingText)), L"正在加入图片 0/3");
  EXPECT_TRUE(test::PumpUntil([&] { return test::WindowText(Item(ids::kAddingText)) == L"正在加入图片 1/3"; }));
  EXPECT_EQ(::SendMessageW(Item(ids::kAddingBar), PBM_GETPOS, 0, 0), 1);
  // The photo already in works as any other.
  Command(ids::kRotateRightButton);
  EXPECT_EQ(dialog.photos().SlotAt(0)->angle, 90.0);

  Command(ids::kUploadButton);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].text, L"图片正在加入，请稍候。");
  EXPECT_EQ(told[0].caption, L"提示");
  EXPECT_EQ(dialog.state(), WindowState::kPhotoList);

  Command(ids::kAddingStop);
  EXPECT_FALSE(::IsWindowVisible(Item(ids::kAddingStop)));
  EXPECT_FALSE(::IsWindowVisible(Item(ids::kAddingText)));
  held.ReleaseAll();
  test::PumpUntil([] { return false; }, 300);
  EXPECT_EQ(dialog.photos().Count(), 1u);
  Command(ids::kUploadButton);
  EXPECT_EQ(told.size(), 1u);
  EXPECT_EQ(dialog.state(), WindowState::kPhotoSettings);
}

TEST_F(MainAdding, ClosingWhileAddingEndsTheAddAndTheWindowPromptly) {
  int asked = 0;
  ScopedPromptAnswerer answer([&](const PromptRequest& request) {
    asked += request.text == L"你确定要退出程序吗？";
    return IDYES;
  });
  Drop(paths);
  // Nothing is in the list yet: the add alone is worth the question.
  ASSERT_TRUE(test::PumpUntil([&] { return held.Started() > 0; }));
  // A photo still in a worker's hands when the window closes takes a moment more to finish.
  std::thread slowPhoto([&] {
    ::Sleep(200);
    held.ReleaseAll();
  });
  const ULONGLONG start = ::GetTickCount64();
  ::SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
  const ULONGLONG tookMs = ::GetTickCount64() - start;
  slowPhoto.join();
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(::IsWindow(dialog.hwnd()));
  EXPECT_LT(tookMs, 3000u);
  // The threads were joined by the close: whatever they prepared went nowhere, and no copy
  // was written after the work directories had gone.
  EXPECT_EQ(held.Finished(), held.Started());
  test::PumpUntil([] { return false; }, 300);
  EXPECT_EQ(dialog.photos().Count(), 0u);
  EXPECT_FALSE(test::FileExists(ScaledCopiesDirectory()));
}

TEST_F(MainAdding, AFileThatIsNoPictureIsPassedOverAndTheRestGoIn) {
  ScopedPromptAnswerer noPrompt([](const PromptRequest&) {
    ADD_FAILURE() << "a file that is no picture is passed over silently";
    return IDOK;
  });
  const std::wstring broken = folder + L"broken.jpg";
  ASSERT_TRUE(test::WriteBytes(broken, std::string("\xFF\xD8\xFF\xE0 not really a JPEG", 22)));
  held.ReleaseAll();
  Drop({paths[0], broken, paths[1]});
  ASSERT_TRUE(test::PumpUntilAdded(dialog.preparer()));
  ASSERT_EQ(dialog.photos().Count(), 2u);
  EXPECT_EQ(dialog.photos().SlotAt(0)->sourcePath, paths[0]);
  EXPECT_EQ(dialog.photos().SlotAt(1)->sourcePath, paths[1]);
  EXPECT_FALSE(::IsWindowVisible(Item(ids::kAddingStop)));
  // A walk that finds nothing takes its line away too.
  Drop({broken + L".txt"});
  EXPECT_FALSE(::IsWindowVisible(Item(ids::kAddingStop)));
}

// An add that ends leaves the grid at the top, unless the user scrolled it while the photos
// came in: then it stays where the user put it.
TEST_F(MainAdding, AnAddEndsWithTheGridAtTheTopUnlessScrolledMeanwhile) {
  for (const bool scrollDuring : {false, true}) {
    std::vector<std::wstring> more;
    for (int i = 0; i < 24; ++i) {
      more.push_back(folder + (scrollDuring ? L"s" : L"t") + std::to_wstring(i) + L".png");
      ASSERT_TRUE(test::WriteQuadrantPicture(more.back(), 64, 48, "png"));
    }
    for (size_t i = 0; i + 1 < more.size(); ++i) held.Release(more[i]);
    const size_t before = dialog.photos().Count();
    Drop(std::vector<std::wstring>(more.begin(), more.end() - 2));
    ASSERT_TRUE(test::PumpUntilAdded(dialog.preparer()));
    // Scrolled down before the add, which then waits on its last photo.
    ::SendMessageW(dialog.view().hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
    ASSERT_GT(dialog.view().ScrollOffset().y, 0);
    Drop(std::vector<std::wstring>(more.end() - 2, more.end()));
    ASSERT_TRUE(test::PumpUntil([&] { return dialog.photos().Count() == before + more.size() - 1; }));
    if (scrollDuring) ::SendMessageW(dialog.view().hwnd(), WM_VSCROLL, SB_LINEUP, 0);
    const LONG during = dialog.view().ScrollOffset().y;
    held.Release(more.back());
    ASSERT_TRUE(test::PumpUntilAdded(dialog.preparer()));
    EXPECT_EQ(dialog.view().ScrollOffset().y, scrollDuring ? during : 0) << scrollDuring;
    EXPECT_EQ(::GetScrollPos(dialog.view().hwnd(), SB_VERT), scrollDuring ? during : 0) << scrollDuring;
  }
}

// The taskbar's interface is asked for only once the shell says the button exists; the add runs
// the same with it or without it (Wine's shell may have none).
TEST_F(MainAdding, TheTaskbarButtonIsTakenOnlyOnceTheShellMadeIt) {
  EXPECT_FALSE(dialog.taskbar().attached());
  ::SendMessageW(dialog.hwnd(), TaskbarButton::CreatedMessage(), 0, 0);
  std::printf("the shell's taskbar list: %s\n", dialog.taskbar().attached() ? "taken" : "none");
  held.ReleaseAll();
  Drop(paths);
  ASSERT_TRUE(test::PumpUntilAdded(dialog.preparer()));
  EXPECT_EQ(dialog.photos().Count(), 3u);
}

}  // namespace
}  // namespace fernwick
