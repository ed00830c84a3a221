#include "upload/upload_worker.h"

#include "upload/core/upload_rules.h"
#include "base/program_state.h"
#include "service/auth_requests.h"
#include "service/service_client.h"
#include "service/upload_request.h"
#include "upload/batch_window.h"
#include "upload/ui_call.h"

namespace fernwick {

namespace {

// One batch as the worker sees it. Every step that touches the window goes through Ui() or
// Tell(); the batch always ends with a Ui() step, so no step handed over outlives it.
class Batch {
  // A step whose result the worker needs, or after which it must know the window has acted.
  template <class Work>
  auto Ui(Work work) {
    return CallOnUi(*job_->ui, std::move(work));
  }
  // A step the worker need not wait for: the window carries the steps out in the order they
  // were handed over, so it still happens before every later one.
  template <class Work>
  void Tell(Work work) {
    job_->ui->Post(std::move(work));
  }

 public:
  explicit Batch(std::unique_ptr<UploadJob> job) : job_(std::move(job)), window_(*job_->dialog) {}

  // Nothing leaves this: it is the whole of the worker thread, and however the batch went, its
  // end must reach the window (or at least the flag) so that OK works again.
  void Run() noexcept {
    BatchOutcome outcome;
    try {
      SendBatch(outcome);
    } catch (...) {
      // The batch stops where it was; the result so far decides the closing message.
    }
    client_.Close();
    bool finished = false;
    try {
      finished = Ui([this, outcome] { window_.Finish(outcome); }).has_value();
    } catch (...) {
    }
    if (!finished) {
      // No window any more to hand the end to; the flag is the program's, not the window's.
      SetUploadInProgress(false);
    }
  }

 private:
  void SendBatch(BatchOutcome& outcome) {
    std::optional<BatchSettings> settings = Ui([this] { return window_.ReadSettings(); });
    if (!settings || client_.Open() != kResultOk || !SignInWithPassword(outcome)) return;
    try {
      SendPhotos(*settings, outcome);
    } catch (...) {
      // The batch stops where it was; the end of the batch still runs.
    }
    try {
      outcome.doneShown = Ui([this] { window_.ShowDonePage(); }).has_value();
    } catch (...) {
    }
  }

  bool SignInWithPassword(BatchOutcome& outcome) {
    try {
      outcome.result = AuthenticateWithPassword(client_, job_->userName, job_->password, auth_);
    } catch (...) {
      outcome.result = kResultNoExchange;
    }
    if (outcome.result != kResultOk) return false;
    Tell([this, token = auth_.authstr, blog = auth_.blogname] {
      window_.StoreToken(token);
      window_.StoreBlogName(blog);
    });
    token_ = auth_.authstr;
    return true;
  }

  void SendPhotos(const BatchSettings& settings, BatchOutcome& outcome) {
    if (!Ui([this, count = settings.photoCount] { window_.ShowProgressState(count); })) return;
    int number = 1;
    for (size_t slot = 0;; ++slot) {
      if (job_->cancelRequested->load()) return;
      std::optional<std::optional<SlotPhoto>> found = Ui([this, slot] { return window_.PhotoInSlot(slot); });
      if (!found || !*found) return;
      const SlotPhoto& photo = **found;
      if (!photo.item) continue;

      outcome.result = AuthenticateWithToken(client_, token_, auth_);
      if (outcome.result != kResultOk) return;
      Tell([this, blog = auth_.blogname] { window_.StoreBlogName(blog); });

      if (!PhotoFitsQuota(auth_.limit, auth_.used, photo.fileSize)) {
        Ui([this] { window_.TellQuotaExceeded(); });
        return;
      }

      std::string sendPath = photo.sendPath;
      if (photo.angle != 0) {
        const RotatedCopy copy = WriteRotatedCopy(photo.sendPath, photo.angle, photo.fileNumber);
        auto applied = Ui([this, slot, item = photo.item, copy] { return window_.ApplyRotation(slot, item, copy); });
        if (!applied) return;
        sendPath = *applied;
      }

      Tell([this, limit = auth_.limit, used = auth_.used] { window_.ShowQuotaLine(limit, used); });
      Tell([this, slot, item = photo.item, number] { window_.ShowSending(slot, item, number); });
      ++number;

      int32_t photoId = 0;
      outcome.result =
          UploadPhoto(client_, token_, settings.tags, settings.photoStatus, sendPath, photo.title, photoId);
      if (outcome.result != kResultOk) return;
      if (photoId <= 0) ++outcome.notAccepted;
      if (!Ui([this, slot, item = photo.item, photoId] { window_.PhotoSent(slot, item, photoId); })) return;
    }
  }

  std::unique_ptr<UploadJob> job_;
  BatchWindow window_;
  ServiceClient client_;
  AuthReply auth_;
  std::string token_;
};

}  // namespace

void UploadWorker(std::unique_ptr<UploadJob> job) {
  if (!job || !job->dialog || !job->ui || !job->cancelRequested) return;
  Batch(std::move(job)).Run();
}

}  // namespace fernwick
