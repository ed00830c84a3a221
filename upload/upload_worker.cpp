#include "upload/upload_worker.h"

#include <algorithm>

#include "base/core/notice_caption.h"
#include "base/prompt.h"
#include "service/auth_requests.h"
#include "service/service_client.h"
#include "service/upload_request.h"
#include "base/log.h"
#include "upload/upload_session.h"
#include "base/run_guarded.h"
#include "upload/core/retry_rules.h"
#include "upload/core/upload_rules.h"
#include "base/ui_call.h"

namespace fernwick {

namespace {

// One batch as the worker sees it. Every step that touches the window goes through Ui() or
// Tell(); the batch always ends with EndBatch, a Ui() step, so no step handed over outlives it.
class Batch {
  // A step whose result the worker needs, or after which it must know the window has acted;
  // none when it did not complete, and the batch then stops.
  template <class Work>
  auto Ui(Work work) {
    return CallOnUi(*job_->ui, std::move(work));
  }
  // A step the worker need not wait for: it still happens before every later one.
  template <class Work>
  void Tell(Work work) {
    TellUi(*job_->ui, std::move(work));
  }

 public:
  Batch(BatchHost& host, std::unique_ptr<UploadJob> job) : host_(host), job_(std::move(job)) {}

  // The worker thread's entry. A failure stops the batch where it was: the result so far
  // decides the closing message, and however the batch went its end reaches the session, so
  // that OK works again.
  void Run() noexcept {
    BatchOutcome outcome;
    RunGuarded([&] { SendBatch(outcome); }, "upload worker");
    client_.Close();
    // The batch has ended: nothing to resume. A window closed during the batch keeps it, so
    // that the photos not sent, which leave with the window, are offered at the next start.
    RunGuarded([this] { Journal().End(job_->flags->closing.load()); }, "upload worker");
    LogBatchOutcome(outcome.sent, static_cast<int>(outcome.missed.size()), outcome.result);
    EndBatch(*job_, outcome);
  }

 private:
  void SendBatch(BatchOutcome& outcome) {
    std::optional<BatchSettings> settings = Ui([this] { return host_.ReadSettings(); });
    if (!settings || client_.Open() != kResultOk) return;
    // A close cuts off whatever request is in flight; Cancel lets the photo being sent finish.
    client_.AbortOn(&job_->flags->closing, &job_->flags->cancel);
    // A failure here leaves the result at "no exchange" and the photo-settings page on screen.
    outcome.result = AuthenticateWithPassword(client_, job_->userName, job_->password, auth_);
    if (CancelledInstead(outcome) || outcome.result != kResultOk) return;
    token_ = auth_.authstr;
    Tell([this, token = auth_.authstr, blog = auth_.blogname] {
      host_.StoreToken(token);
      host_.StoreBlogName(blog);
    });
    // A failure while a photo is handled ends the loop; the end of the batch still runs.
    RunGuarded([&] { SendPhotos(*settings, outcome); });
    outcome.doneShown = Ui([this] { host_.ShowDone(); }).has_value();
  }

  bool Cancelled() const noexcept { return job_->flags->cancel.load(); }

  BatchJournalKeeper& Journal() const noexcept { return job_->flags->journal; }

  // A request that failed because Cancel abandoned it is a cancel, not a lost connection: true,
  // with a result that shows no message.
  bool CancelledInstead(BatchOutcome& outcome) const noexcept {
    if (outcome.result == kResultOk || !Cancelled()) return false;
    outcome.result = kResultOk;
    return true;
  }

  // Waits before another attempt; false when Cancel came meanwhile.
  bool WaitBeforeAttempt(int attempt) const {
    const ULONGLONG until = ::GetTickCount64() + RetryWaitMs(attempt);
    while (!Cancelled()) {
      const ULONGLONG now = ::GetTickCount64();
      if (now >= until) return true;
      ::Sleep(static_cast<DWORD>(std::min<ULONGLONG>(until - now, 50)));
    }
    return false;
  }

  // A fresh token before every photo and every retry, as the protocol has it; false, with the
  // result for the closing message, when the batch must stop.
  bool RefreshToken(BatchOutcome& outcome) {
    outcome.result = AuthenticateWithToken(client_, token_, auth_);
    if (CancelledInstead(outcome) || outcome.result != kResultOk) return false;
    Tell([this, blog = auth_.blogname] { host_.StoreBlogName(blog); });
    return true;
  }

  // The token request before a photo, tried again like the photo itself when no connection
  // could be made (nothing can have been stored): a server started again is found again.
  bool RefreshTokenForPhoto(BatchOutcome& outcome) {
    for (int number = 1;; ++number) {
      if (RefreshToken(outcome)) return true;
      if (outcome.result != kResultNoExchange || number == kMaxUploadAttempts || !WaitBeforeAttempt(number + 1)) {
        return false;
      }
      LogInfo("upload: the token request before a photo found no connection, it is tried again");
    }
  }

  // The attempts at one photo: again only where the server cannot have stored it.
  UploadAttempt SendWithRetries(const BatchSettings& settings, const std::wstring& sendPath, const SlotPhoto& photo,
                                uint64_t bytesBefore, BatchOutcome& outcome, bool& stop) {
    const auto progress = [this, bytesBefore, size = photo.fileSize, total = settings.photoBytes](uint64_t sent,
                                                                                                   uint64_t length) {
      const double share = length ? static_cast<double>(sent) / static_cast<double>(length) : 1.0;
      const double batch = total ? (static_cast<double>(bytesBefore) + share * size) / static_cast<double>(total) : 1.0;
      Tell([this, photo = static_cast<int>(share * 1000), batch = static_cast<int>(batch * 1000)] {
        host_.ShowSentShare(photo, batch);
      });
    };
    UploadAttempt attempt;
    for (int number = 1; number <= kMaxUploadAttempts; ++number) {
      if (number > 1) {
        if (!WaitBeforeAttempt(number)) {
          attempt.end = UploadEnd::Cancelled;
          break;
        }
        if (!RefreshToken(outcome)) {
          stop = true;
          break;
        }
      }
      attempt = SendPhoto(client_, token_, settings.tags, settings.photoStatus, sendPath, photo.title, progress);
      if (!MayRetry(attempt.end) || Cancelled() || number == kMaxUploadAttempts) break;
      LogInfo("upload: the photo's attempt failed where nothing can have been stored, it is tried again");
    }
    return attempt;
  }

  void SendPhotos(const BatchSettings& settings, BatchOutcome& outcome) {
    if (!Ui([this] { host_.ShowProgress(); })) return;
    Journal().Start(settings.journal);
    size_t journalEntry = 0;  // the list does not change during the batch: its photos in order
    uint64_t bytesBefore = 0;
    for (size_t slot = 0;; ++slot) {
      if (Cancelled()) return;
      std::optional<std::optional<SlotPhoto>> found = Ui([this, slot] { return host_.PhotoInSlot(slot); });
      if (!found || !*found) return;
      const SlotPhoto& photo = **found;
      if (!photo.item) continue;

      if (!RefreshTokenForPhoto(outcome) || Cancelled()) return;

      if (!PhotoFitsQuota(auth_.limit, auth_.used, photo.fileSize)) {
        Ui([this] { ShowPrompt(host_.hwnd(), L"你的空间已经不够,请购买空间。", kNoticeCaption, MB_OK); });
        return;
      }

      std::wstring sendPath = photo.sendPath;
      if (photo.angle != 0) {
        const RotatedCopy copy = WriteRotatedCopy(photo.sendPath, photo.angle, photo.fileNumber);
        auto applied = Ui([this, slot, item = photo.item, copy] { return host_.ApplyRotation(slot, item, copy); });
        if (!applied) return;
        sendPath = *applied;
      }

      // Before the first byte goes (and before the window says it goes): a process killed from
      // now on leaves the photo in doubt.
      const size_t entry = journalEntry++;
      Journal().Record(entry, JournalState::Sending);
      Tell([this, limit = auth_.limit, used = auth_.used] { host_.ShowQuotaLine(limit, used); });
      Tell([this, slot, item = photo.item] { host_.ShowSending(slot, item); });

      bool stop = false;
      const UploadAttempt attempt = SendWithRetries(settings, sendPath, photo, bytesBefore, outcome, stop);
      if (stop) {
        // A retry's token request failed (its result tells the user why); the attempt before
        // it was one the server cannot have stored.
        Journal().Record(entry, JournalState::Failed);
        return;
      }
      bytesBefore += static_cast<uint64_t>(photo.fileSize);
      const int32_t photoId = attempt.end == UploadEnd::Stored ? attempt.photoId : 0;
      if (photoId > 0) {
        ++outcome.sent;
      } else {
        outcome.missed.push_back(MissedPhoto{MissReasonOf(attempt.end), photo.title});
      }
      // The journal first: a photo stored must not be offered again because the window went
      // (or the program died) before it heard of it.
      Journal().Record(entry,
                       photoId > 0                                            ? JournalState::Sent
                       : MissReasonOf(attempt.end) == MissReason::MaybeOnSite ? JournalState::MaybeOnSite
                                                                              : JournalState::Failed,
                       photoId);
      if (!Ui([this, slot, item = photo.item, photoId] { host_.PhotoSent(slot, item, photoId); })) return;
      // Every attempt failed to reach the server: it cannot be reached, and the batch stops.
      if (IsConnectionFailure(attempt.end) && !Cancelled()) {
        outcome.result = kResultNoExchange;
        return;
      }
    }
  }

  BatchHost& host_;  // used only inside steps run on the UI thread
  std::unique_ptr<UploadJob> job_;
  ServiceClient client_;
  AuthReply auth_;
  std::string token_;
};

}  // namespace

UploadSession::Worker UploadWorkerFor(BatchHost& host) {
  return [&host](std::unique_ptr<UploadJob> job) noexcept {
    if (job) Batch(host, std::move(job)).Run();
  };
}

}  // namespace fernwick
