#include "base/ui_task.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "base/ui_thread.h"
#include "imaging/photo_list.h"
#include "support/test_main_dialog.h"
#include "support/window_helpers.h"

namespace fernwick {
namespace {

class UiTasks : public ::testing::Test {
 protected:
  void SetUp() override {
    window = test::CreateTestWindow("FernwickUiTaskTest", &test::TaskWindowProc, WS_OVERLAPPED);
    ASSERT_NE(window, nullptr);
    channel = UiTaskChannel::Open(window);
  }
  void TearDown() override {
    channel->Close();
    ::DestroyWindow(window);
  }
  // Posts `task` from a worker thread and waits for the worker (not for the task).
  bool PostFromWorker(UiTaskChannel::Task task) {
    bool posted = false;
    std::thread worker([&] { posted = channel->Post(std::move(task)); });
    worker.join();
    return posted;
  }

  HWND window = nullptr;
  std::shared_ptr<UiTaskChannel> channel;
};

TEST_F(UiTasks, RunOnTheWindowsThreadNotOnTheWorkers) {
  DWORD ranOn = 0;
  ASSERT_TRUE(PostFromWorker([&] { ranOn = ::GetCurrentThreadId(); }));
  EXPECT_EQ(ranOn, 0u) << "nothing runs before the window's thread handles its messages";
  test::PumpPendingMessages();
  EXPECT_EQ(ranOn, ::GetCurrentThreadId());
}

TEST_F(UiTasks, RunInTheOrderTheyWerePosted) {
  std::vector<int> order;
  std::thread worker([&] {
    for (int i = 1; i <= 5; ++i) channel->Post([&order, i] { order.push_back(i); });
  });
  worker.join();
  test::PumpPendingMessages();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST_F(UiTasks, ATaskRunsOnceAndIsFreedAfterwards) {
  auto token = std::make_shared<int>(0);
  ASSERT_TRUE(PostFromWorker([token] { ++*token; }));
  EXPECT_EQ(token.use_count(), 2) << "the queued task holds its payload";
  test::PumpPendingMessages();
  test::PumpPendingMessages();
  EXPECT_EQ(*token, 1);
  EXPECT_EQ(token.use_count(), 1) << "the receiver freed the task";
}

TEST_F(UiTasks, ClosingDropsQueuedTasksUnrunAndFreesThem) {
  auto token = std::make_shared<int>(0);
  ASSERT_TRUE(PostFromWorker([token] { ++*token; }));
  ASSERT_TRUE(PostFromWorker([token] { ++*token; }));
  channel->Close();
  EXPECT_EQ(token.use_count(), 1);
  test::PumpPendingMessages();
  EXPECT_EQ(*token, 0);
}

TEST_F(UiTasks, AfterClosingPostsAreRefusedAndFreed) {
  channel->Close();
  auto token = std::make_shared<int>(0);
  EXPECT_FALSE(PostFromWorker([token] { ++*token; }));
  EXPECT_EQ(token.use_count(), 1);
  EXPECT_TRUE(channel->closed());
}

TEST_F(UiTasks, APostThatCannotBeDeliveredIsFreed) {
  HWND gone = test::CreateTestWindow("FernwickUiTaskTest", &test::TaskWindowProc, WS_OVERLAPPED);
  auto toGone = UiTaskChannel::Open(gone);
  ::DestroyWindow(gone);
  auto token = std::make_shared<int>(0);
  EXPECT_FALSE(toGone->Post([token] { ++*token; }));
  EXPECT_EQ(token.use_count(), 1);
}

TEST_F(UiTasks, OtherMessagesWithTheSameNumberAreNotTasks) {
  EXPECT_FALSE(UiTaskChannel::Run(kUiTaskMessage, 0, 0));
  EXPECT_FALSE(UiTaskChannel::Run(WM_NULL, 0, 0));
}

TEST(MainWindowTasks, RunOnTheMainWindowAndStopWithIt) {
  test::TestMainDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  std::shared_ptr<UiTaskChannel> channel = dialog.uiTasks();
  ASSERT_TRUE(channel);

  std::wstring seen;
  std::thread worker([&] { channel->Post([&] { seen = test::WindowText(dialog.hwnd()); }); });
  worker.join();
  test::PumpPendingMessages();
  EXPECT_EQ(seen, L"Fernwick");

  auto token = std::make_shared<int>(0);
  std::thread late([&] { channel->Post([token] { ++*token; }); });
  late.join();
  ::SendMessageA(dialog.hwnd(), WM_CLOSE, 0, 0);
  ASSERT_FALSE(::IsWindow(dialog.hwnd()));
  EXPECT_TRUE(channel->closed());
  EXPECT_EQ(token.use_count(), 1) << "the task queued at the close was freed";
  EXPECT_EQ(*token, 0);
  EXPECT_FALSE(channel->Post([] {}));
}

// The check is on in the tests' builds: state of the UI thread touched by a worker stops the
// program there (here a child process of the death test), and passes on the main thread.
TEST(UiThread, AWorkerTouchingThePhotoListStopsTheProgram) {
  PhotoList photos;
  EXPECT_EQ(photos.TakeFileNumber(), 1001);
  bool workerOnUi = true;
  std::thread([&] { workerOnUi = OnUiThread(); }).join();
  EXPECT_FALSE(workerOnUi);
  EXPECT_DEATH(std::thread([&] { photos.TakeFileNumber(); }).join(), "UI thread only: .*TakeFileNumber");
}

}  // namespace
}  // namespace fernwick
