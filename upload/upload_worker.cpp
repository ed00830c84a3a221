#include "upload/upload_worker.h"

#include "base/prompt.h"
#include "service/auth_requests.h"
#include "service/service_client.h"
#include "service/upload_request.h"
#include "base/log.h"
#include "upload/step_guard.h"
#include "upload/core/upload_rules.h"
#include "upload/ui_call.h"

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
    LogBatchOutcome(outcome.sent, outcome.notAccepted, outcome.result);
    EndBatch(*job_, outcome);
  }

 private:
  void SendBatch(BatchOutcome& outcome) {
    std::optional<BatchSettings> settings = Ui([this] { return host_.ReadSettings(); });
    if (!settings || client_.Open() != kResultOk) return;
    // A failure here leaves the result at "no exchange" and the photo-settings page on screen.
    outcome.result = AuthenticateWithPassword(client_, job_->userName, job_->password, auth_);
    if (outcome.result != kResultOk) return;
    token_ = auth_.authstr;
    Tell([this, token = auth_.authstr, blog = auth_.blogname] {
      host_.StoreToken(token);
      host_.StoreBlogName(blog);
    });
    // A failure while a photo is handled ends the loop; the end of the batch still runs.
    RunGuarded([&] { SendPhotos(*settings, outcome); });
    outcome.doneShown = Ui([this] { host_.ShowDone(); }).has_value();
  }

  void SendPhotos(const BatchSettings& settings, BatchOutcome& outcome) {
    if (!Ui([this, count = settings.photoCount] { host_.ShowProgress(count); })) return;
    int number = 1;
    for (size_t slot = 0;; ++slot) {
      if (job_->flags->cancel.load()) return;
      std::optional<std::optional<SlotPhoto>> found = Ui([this, slot] { return host_.PhotoInSlot(slot); });
      if (!found || !*found) return;
      const SlotPhoto& photo = **found;
      if (!photo.item) continue;

      outcome.result = AuthenticateWithToken(client_, token_, auth_);
      if (outcome.result != kResultOk) return;
      Tell([this, blog = auth_.blogname] { host_.StoreBlogName(blog); });

      if (!PhotoFitsQuota(auth_.limit, auth_.used, photo.fileSize)) {
        Ui([this] { ShowPrompt(host_.hwnd(), "你的空间已经不够,请购买空间。", "提示", MB_OK); });
        return;
      }

      std::wstring sendPath = photo.sendPath;
      if (photo.angle != 0) {
        const RotatedCopy copy = WriteRotatedCopy(photo.sendPath, photo.angle, photo.fileNumber);
        auto applied = Ui([this, slot, item = photo.item, copy] { return host_.ApplyRotation(slot, item, copy); });
        if (!applied) return;
        sendPath = *applied;
      }

      Tell([this, limit = auth_.limit, used = auth_.used] { host_.ShowQuotaLine(limit, used); });
      Tell([this, slot, item = photo.item, number] { host_.ShowSending(slot, item, number); });
      ++number;

      int32_t photoId = 0;
      outcome.result =
          UploadPhoto(client_, token_, settings.tags, settings.photoStatus, sendPath, photo.title, photoId);
      if (outcome.result != kResultOk) return;
      ++(photoId > 0 ? outcome.sent : outcome.notAccepted);
      if (!Ui([this, slot, item = photo.item, photoId] { host_.PhotoSent(slot, item, photoId); })) return;
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
