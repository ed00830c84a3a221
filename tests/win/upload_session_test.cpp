// The upload session's lifecycle with a worker the test holds: one batch at a time, Cancel, a
// close that waits for the worker, and the end that always gives OK back.
#include "upload/upload_session.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <stdexcept>

#include "base/handles.h"
#include "base/prompt.h"
#include "support/account_test_support.h"
#include "support/window_helpers.h"

namespace fernwick {
namespace {

// The window side: what the session did to OK and to the window.
class RecordingHost : public SessionHost {
 public:
  RecordingHost()
      : window_(test::CreateTestWindow("FernwickSessionHost", &test::TaskWindowProc, WS_OVERLAPPED)),
        channel_(UiTaskChannel::Open(window_.get())) {}
  ~RecordingHost() { channel_->Close(); }
  HWND hwnd() const noexcept override { return window_.get(); }
  std::shared_ptr<UiTaskChannel> uiTasks() const override { return channel_; }
  void EnableOkAndBack(bool enable) noexcept override { okEnabled = backEnabled = enable; }
  void CloseWindow() noexcept override { ++closes; }

  bool okEnabled = true;
  bool backEnabled = true;
  int closes = 0;

 private:
  UniqueWindow window_;
  std::shared_ptr<UiTaskChannel> channel_;
};

class UploadSessionTest : public ::testing::Test {
 protected:
  // Runs on the batch's thread: waits until the test lets it end, then ends as a worker must.
  UploadSession::Worker HeldWorker() {
    return [this](std::unique_ptr<UploadJob> job) noexcept {
      ++started;
      const BatchOutcome outcome = end.get();
      sawCancel = job->flags->cancel.load();
      EndBatch(*job, outcome);
    };
  }
  void EndWith(BatchOutcome outcome) { release.set_value(outcome); }
  // The window's messages until the batch has ended.
  void PumpUntilEnded() {
    const DWORD start = ::GetTickCount();
    while (session.running() && ::GetTickCount() - start < 10000) {  // a failure bound, not a pace
      test::PumpPendingMessages();
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    ASSERT_FALSE(session.running()) << "the batch did not end";
  }

  std::promise<BatchOutcome> release;
  std::shared_future<BatchOutcome> end = release.get_future().share();
  std::atomic<int> started{0};
  std::atomic<bool> sawCancel{false};
  RecordingHost host;
  UploadSession session{host, HeldWorker()};
};

TEST_F(UploadSessionTest, RunsOneBatchAtATimeWithOkDisabledUntilItEnds) {
  test::PromptRecorder prompts;
  ASSERT_TRUE(session.Start(L"li", L"pw"));
  EXPECT_TRUE(session.running());
  EXPECT_FALSE(host.okEnabled);
  EXPECT_FALSE(session.Start(L"li", L"pw")) << L"a second start during the batch";
  EndWith({0, 0, {}, true});
  PumpUntilEnded();
  EXPECT_EQ(started.load(), 1);
  EXPECT_TRUE(host.okEnabled);
  EXPECT_FALSE(sawCancel.load());
  EXPECT_TRUE(prompts.seen.empty());
  EXPECT_EQ(host.closes, 0);
}

// Owns the session's step of Cancel (the levels are listed at ProgressPageTest's Cancel test).
TEST_F(UploadSessionTest, CancelReachesTheWorker) {
  ASSERT_TRUE(session.Start(L"li", L"pw"));
  session.Cancel();
  EXPECT_TRUE(session.cancelRequested());
  EndWith({0, 0, {}, true});
  PumpUntilEnded();
  EXPECT_TRUE(sawCancel.load());
  EXPECT_EQ(host.closes, 0) << "Cancel is not a close";
}

TEST_F(UploadSessionTest, CloseWithoutABatchClosesAtOnce) {
  session.Close();
  EXPECT_EQ(host.closes, 1);
  EXPECT_FALSE(session.closing());
}

TEST_F(UploadSessionTest, CloseDuringTheBatchStopsItAndClosesOnceTheWorkerHasEnded) {
  test::PromptRecorder prompts;
  ASSERT_TRUE(session.Start(L"li", L"pw"));
  session.Close();
  EXPECT_EQ(host.closes, 0) << "the worker still uses the window";
  EXPECT_TRUE(session.closing());
  EXPECT_TRUE(session.cancelRequested());
  EndWith({-2, 0, {}, true});  // would tell of a lost connection, but the user is leaving
  PumpUntilEnded();
  EXPECT_EQ(host.closes, 1);
  EXPECT_FALSE(session.closing());
  EXPECT_TRUE(prompts.seen.empty());
  EXPECT_TRUE(host.okEnabled);
}

TEST_F(UploadSessionTest, OkComesBackEvenWhenTheClosingMessageFails) {
  int asked = 0;
  ScopedPromptAnswerer failing([&](const PromptRequest&) -> int {
    ++asked;
    throw std::runtime_error("no message box");
  });
  ASSERT_TRUE(session.Start(L"li", L"pw"));
  EndWith({-2, 0, {}, true});
  PumpUntilEnded();
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(host.okEnabled);
  EXPECT_EQ(host.closes, 0);
}

TEST_F(UploadSessionTest, AWindowGoneBeforeTheEndStillEndsTheBatch) {
  ASSERT_TRUE(session.Start(L"li", L"pw"));
  host.uiTasks()->Close();  // as the window's destruction does
  EndWith({-2, 0, {}, true});
  const DWORD start = ::GetTickCount();
  while (session.running() && ::GetTickCount() - start < 10000) ::Sleep(10);
  EXPECT_FALSE(session.running());
  EXPECT_FALSE(host.okEnabled) << "nothing reached the window";
}

}  // namespace
}  // namespace fernwick
