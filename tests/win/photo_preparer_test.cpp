// Adding photos in the background: order and numbering whatever worker finishes first, how
// far the workers run ahead of the list, and Stop.
#include "imaging/photo_preparer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/prompt.h"
#include "base/work_directories.h"
#include "imaging/core/copy_rules.h"
#include "imaging/photo_list.h"
#include "support/held_preparation.h"
#include "support/photo_test_pictures.h"
#include "support/test_files.h"
#include "support/window_helpers.h"

namespace fernwick {
namespace {

constexpr unsigned kThreads = 3;

class PhotoPreparing : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ResetWorkDirectories();
    dir = test::FreshDirectory(L"preparer");
    window = test::CreateTestWindow("FernwickPreparerTest", &test::TaskWindowProc, WS_OVERLAPPED);
    ASSERT_NE(window, nullptr);
    channel = UiTaskChannel::Open(window);
    preparer.Attach(channel, nullptr, window);
  }
  void TearDown() override {
    held.ReleaseAll();
    preparer.Shutdown();
    channel->Close();
    ::DestroyWindow(window);
    test::RemoveDirectoryTree(dir);
  }
  // BMP files: each gets a working copy named after its number.
  std::vector<std::wstring> Pictures(int count) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < count; ++i) {
      paths.push_back(dir + L"p" + std::to_wstring(i) + L".bmp");
      EXPECT_TRUE(test::WriteQuadrantPicture(paths.back(), 64, 48, "bmp"));
    }
    return paths;
  }
  static std::wstring CopyNumbered(int32_t number) {
    return ScaledCopiesDirectory() + std::to_wstring(number) + L".jpg";
  }
  std::vector<std::wstring> Listed() const {
    std::vector<std::wstring> listed;
    for (const auto& item : photos.slots()) listed.push_back(item->sourcePath);
    return listed;
  }
  bool Prepared(const std::vector<std::wstring>& paths) {
    for (const std::wstring& path : paths) {
      if (held.FileNumberOf(path) == 0) return false;
    }
    return true;
  }

  std::wstring dir;
  HWND window = nullptr;
  std::shared_ptr<UiTaskChannel> channel;
  PhotoList photos;
  test::HeldPreparation held;
  PhotoPreparer preparer{photos, held.Function(), kThreads};
  ScopedPromptAnswerer noPrompt{[](const PromptRequest&) {
    ADD_FAILURE() << "unexpected message box";
    return IDOK;
  }};
};

// Copies take their numbers as their photos enter the list: in its order, and without a gap for
// the JPEG that is sent as it is.
TEST_F(PhotoPreparing, LaterPhotosFinishingFirstWaitForTheirPredecessors) {
  std::vector<std::wstring> paths = Pictures(10);
  paths[4] = dir + L"p4.jpg";
  ASSERT_TRUE(test::WriteQuadrantPicture(paths[4], 64, 48, "jpg"));
  ASSERT_EQ(preparer.Add(paths, 1024), 10u);
  for (int i = 9; i >= 1; --i) held.Release(paths[static_cast<size_t>(i)]);
  // Everything but the first is free to go, yet the workers stop a few photos ahead.
  const std::vector<std::wstring> ahead(paths.begin() + 1, paths.begin() + kThreads + 2);
  ASSERT_TRUE(test::PumpUntil([&] { return Prepared(ahead); }));
  test::PumpUntil([] { return false; }, 300);
  EXPECT_EQ(held.Started(), static_cast<int>(kThreads + 2));
  EXPECT_EQ(photos.Count(), 0u);
  EXPECT_TRUE(preparer.busy());

  held.Release(paths[0]);
  ASSERT_TRUE(test::PumpUntilAdded(preparer));
  EXPECT_EQ(Listed(), paths);
  int32_t number = 1001;
  for (size_t i = 0; i < paths.size(); ++i) {
    EXPECT_EQ(photos.SlotAt(i)->sendPath, i == 4 ? paths[4] : CopyNumbered(number++)) << i;
  }
  EXPECT_EQ(photos.TakeFileNumber(), 1010);
  EXPECT_EQ(photos.selection(), photos.SlotAt(9));
}

TEST_F(PhotoPreparing, PathsAlreadyListedOrQueuedArePassedOver) {
  const std::vector<std::wstring> paths = Pictures(3);
  held.ReleaseAll();
  ASSERT_EQ(preparer.Add({paths[0]}, 1024), 1u);
  ASSERT_TRUE(test::PumpUntilAdded(preparer));
  EXPECT_EQ(preparer.Add({paths[0], paths[1], paths[1], paths[2]}, 1024), 2u);
  EXPECT_EQ(preparer.Add({paths[2]}, 1024), 0u);
  ASSERT_TRUE(test::PumpUntilAdded(preparer));
  EXPECT_EQ(Listed(), paths);
}

TEST_F(PhotoPreparing, StopAddsNothingMoreAndDeletesTheCopiesOfPhotosLeftOut) {
  const std::vector<std::wstring> paths = Pictures(8);
  preparer.Add(paths, 1024);
  held.Release(paths[0]);
  held.Release(paths[1]);
  ASSERT_TRUE(test::PumpUntil([&] { return photos.Count() == 2; }));
  // The fourth is ready, and its copy written, while the third is still held.
  held.Release(paths[3]);
  ASSERT_TRUE(test::PumpUntil([&] { return held.FileNumberOf(paths[3]) != 0; }));
  test::PumpUntil([] { return false; }, 200);  // its result reaches the UI thread and waits there
  const std::wstring fourth = WorkingCopyName(ScaledCopiesDirectory(), held.FileNumberOf(paths[3]));
  ASSERT_TRUE(test::FileExists(fourth));

  preparer.Stop();
  const int startedBeforeTheStop = held.Started();
  EXPECT_FALSE(preparer.busy());
  EXPECT_FALSE(test::FileExists(fourth));
  // The photos in the workers' hands finish after the stop: dropped, their copies too; the rest
  // never start.
  held.ReleaseAll();
  ASSERT_TRUE(test::PumpUntil([&] { return held.Finished() == held.Started(); }));
  test::PumpUntil([] { return false; }, 300);
  EXPECT_NE(held.FileNumberOf(paths[2]), 0);
  EXPECT_FALSE(test::FileExists(WorkingCopyName(ScaledCopiesDirectory(), held.FileNumberOf(paths[2]))));
  EXPECT_EQ(Listed(), std::vector<std::wstring>(paths.begin(), paths.begin() + 2));
  EXPECT_TRUE(test::FileExists(CopyNumbered(1001)));
  for (int32_t number = 1005; number <= 1008; ++number) EXPECT_FALSE(test::FileExists(CopyNumbered(number)));
  EXPECT_EQ(held.Started(), startedBeforeTheStop);
}

}  // namespace
}  // namespace fernwick
