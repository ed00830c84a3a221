#include "upload/upload_session.h"

#include <memory>
#include <string>

#include "accounts/core/account_texts.h"
#include "base/background_work.h"
#include "base/prompt.h"
#include "service/core/result_codes.h"
#include "base/run_guarded.h"
#include "base/ui_call.h"
#include "base/ui_thread.h"

namespace fernwick {

namespace {
void ShowClosingMessages(HWND main, const BatchOutcome& outcome) {
  const std::wstring summary = outcome.doneShown ? BatchSummaryText(outcome.sent, outcome.missed) : L"";
  if (!summary.empty()) ShowPrompt(main, summary, kNoticeCaption, MB_OK);
  if (outcome.result == kResultNoExchange) {
    ShowPrompt(main, kNoConnectionText, kNoticeCaption, MB_OK);
  } else if (outcome.result == kResultRefused) {
    ShowPrompt(main, kWrongPasswordText, kNoticeCaption, MB_OK);
  }
}
}  // namespace

void EndBatch(const UploadJob& job, const BatchOutcome& outcome) noexcept {
  UploadSession* session = job.session;
  const bool finished = job.ui && CallOnUi(*job.ui, [session, outcome] { session->Finish(outcome); }).has_value();
  // No window any more to hand the end to; the flag is all that is left of the batch.
  if (!finished) job.flags->running.store(false);
}

UploadSession::UploadSession(SessionHost& host, Worker worker)
    : host_(host), worker_(std::move(worker)), flags_(std::make_shared<BatchFlags>()) {}

bool UploadSession::Start(const std::wstring& userName, const std::wstring& password) {
  if (running()) return false;
  flags_->cancel.store(false);
  flags_->running.store(true);
  host_.EnableOkAndBack(false);
  bool started = false;
  RunGuarded([&] {
    auto job = std::make_shared<UploadJob>(UploadJob{userName, password, this, host_.uiTasks(), flags_});
    started = StartDetached([worker = worker_, job] { worker(std::make_unique<UploadJob>(std::move(*job))); },
                            "upload worker");
  });
  if (!started) {
    // No thread (or no memory for the job): no batch, and nothing left waiting for one.
    flags_->running.store(false);
    host_.EnableOkAndBack(true);
  }
  return started;
}

bool UploadSession::BeginSignInCheck() noexcept {
  if (checking_ || running()) return false;
  checking_ = true;
  // The batch starts from the photo-settings page and its photos: Back must not leave them.
  host_.EnableOkAndBack(false);
  return true;
}

void UploadSession::EndSignInCheck(bool signedIn, const std::wstring& userName, const std::wstring& password) noexcept {
  AssertUiThread();
  checking_ = false;
  if (signedIn && !closing() && Start(userName, password)) return;
  host_.EnableOkAndBack(true);
  CloseIfWaiting();
}

void UploadSession::SessionEnds() noexcept {
  if (running()) RunGuarded([&] { flags_->journal.WriteNow(); });
}

void UploadSession::Close() noexcept {
  if (!running() && !checking_) {
    host_.CloseWindow();
    return;
  }
  flags_->closing.store(true);
  Cancel();
}

void UploadSession::Finish(const BatchOutcome& outcome) noexcept {
  AssertUiThread();
  // The user has chosen to quit: no news about a batch that is being left. A message that
  // cannot be shown must not keep the batch from ending.
  if (!closing()) RunGuarded([&] { ShowClosingMessages(host_.hwnd(), outcome); });
  flags_->running.store(false);
  host_.EnableOkAndBack(true);
  CloseIfWaiting();
}

void UploadSession::CloseIfWaiting() noexcept {
  if (flags_->closing.exchange(false)) host_.CloseWindow();
}

}  // namespace fernwick
