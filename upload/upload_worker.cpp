#include "upload/upload_worker.h"

#include <algorithm>

#include "base/core/notice_caption.h"
#include "base/log.h"
#include "base/prompt.h"
#include "base/run_guarded.h"
#include "base/text_936.h"
#include "base/ui_call.h"
#include "service/auth_requests.h"
#include "service/core/upload_body.h"
#include "service/service_client.h"
#include "service/upload_request.h"
#include "upload/batch_journal_file.h"
#include "upload/core/retry_rules.h"
#include "upload/core/upload_rules.h"
#include "upload/photo_read_ahead.h"
#include "upload/upload_session.h"

namespace fernwick {

namespace {

// The journal as the batch starts: its tags and visibility, then each photo's own file and its
// turn from that file (the working copies go with the program, and a copy an earlier batch
// turned has already taken part of the turn), all waiting.
BatchJournal JournalOf(const BatchSnapshot& batch) {
  BatchJournal journal{JournalText(batch.tags), batch.visibilityIndex, {}};
  for (const BatchPhoto& photo : batch.photos) {
    journal.photos.push_back(
        {JournalText(photo.sourcePath), TurnFromOriginal(photo.sendTurn, static_cast<int>(photo.angle))});
  }
  return journal;
}

// What every photo of the batch is sent with, in the upload body's form, and the batch's size,
// which the overall bar measures.
struct WireSettings {
  std::string tags;
  std::string photoStatus;
  uint64_t bytes = 0;
};

// One batch as the worker sees it: the snapshot the window handed over at its start, from which
// it sends; the window hears of it only through reports. Every step that touches the window goes
// through Ui(), Report() or Tell(); the batch always ends with EndBatch, a Ui() step, so no step
// handed over outlives it.
class Batch {
  // A step whose result the worker needs; none when it did not complete, and the batch then
  // stops.
  template <class Work>
  auto Ui(Work work) {
    return CallOnUi(*job_->ui, std::move(work));
  }
  // A report after which the worker must know the window has acted; false when it did not, and
  // the batch then stops.
  bool Report(BatchReport report) {
    return Ui([host = &host_, report = std::move(report)] { host->ApplyBatchReport(report); }).has_value();
  }
  // A report the worker need not wait for: it is still applied before every later one.
  void Tell(BatchReport report) {
    TellUi(*job_->ui, [host = &host_, report = std::move(report)] { host->ApplyBatchReport(report); });
  }
  // Waits until the window has handled what came before: a Cancel or a close the user gave while
  // the page still showed the last photo counts before anything of the next. False when the
  // window has gone, and the batch then stops.
  bool WindowCaughtUp() {
    return Ui([] {}).has_value();
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
    std::optional<BatchSnapshot> batch = Ui([host = &host_] { return host->TakeBatch(); });
    if (!batch || client_.Open() != kResultOk) return;
    nextFileNumber_ = batch->firstFileNumber;
    // A close cuts off whatever request is in flight; Cancel lets the photo being sent finish.
    client_.AbortOn(&job_->flags->closing, &job_->flags->cancel);
    // A failure here leaves the result at "no exchange" and the photo-settings page on screen.
    outcome.result = AuthenticateWithPassword(client_, job_->userName, job_->password, auth_);
    if (CancelledInstead(outcome) || outcome.result != kResultOk) return;
    token_ = auth_.authstr;
    toldBlogName_ = auth_.blogname;
    // A failure while a photo is handled ends the loop; the end of the batch still runs.
    if (Report(BatchSignedIn{auth_.blogname})) RunGuarded([&] { SendPhotos(*batch, outcome); });
    outcome.doneShown = Report(BatchDone{nextFileNumber_});
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
    // The same name again (as every photo's token request gives it) would be a hand-off to the
    // window that changes nothing.
    if (auth_.blogname != toldBlogName_) {
      toldBlogName_ = auth_.blogname;
      Tell(BatchBlogName{auth_.blogname});
    }
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
  // The first attempt sends `readAhead` when it holds the file's content; every later attempt reads
  // the file again, as it is then.
  UploadAttempt SendWithRetries(const WireSettings& wire, const BatchPhoto& photo, const std::wstring& sendPath,
                                const std::string* readAhead, uint64_t bytesBefore, BatchOutcome& outcome, bool& stop) {
    const auto progress = [this, bytesBefore, size = photo.fileSize, total = wire.bytes](uint64_t sent,
                                                                                         uint64_t length) {
      const double share = length ? static_cast<double>(sent) / static_cast<double>(length) : 1.0;
      const double batch = total ? (static_cast<double>(bytesBefore) + share * size) / static_cast<double>(total) : 1.0;
      Tell(BatchShares{static_cast<int>(share * 1000), static_cast<int>(batch * 1000)});
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
      attempt = SendPhoto(client_, token_, wire.tags, wire.photoStatus, sendPath, photo.title, progress,
                          number == 1 ? readAhead : nullptr);
      if (!MayRetry(attempt.end) || Cancelled() || number == kMaxUploadAttempts) break;
      LogInfo("upload: the photo's attempt failed where nothing can have been stored, it is tried again");
    }
    return attempt;
  }

  // The file a photo is sent from: its turned copy, written now under the next working-copy
  // number, when it was turned (the path of a copy that could not be written, so that the send
  // fails as for any unreadable file and the photo keeps its own file and turn for a later try).
  std::wstring SendPathFor(const BatchPhoto& photo, int32_t fileNumber, RotatedCopy& copy) const {
    if (photo.angle == 0) return photo.sendPath;
    copy = WriteRotatedCopy(photo.sendPath, photo.angle, fileNumber);
    return copy.degrees != 0 ? copy.path : photo.sendPath;
  }

  // Starts reading the photo's file while the one before it is on the wire. Not a turned photo,
  // whose copy is written only when it is reached, nor one too large to send.
  static void ReadAhead(PhotoReadAhead& reader, const BatchPhoto& photo) {
    if (photo.angle == 0 && FileFitsUpload(static_cast<uint64_t>(photo.fileSize))) reader.Start(photo.sendPath);
  }

  void SendPhotos(const BatchSnapshot& batch, BatchOutcome& outcome) {
    Journal().Start(JournalOf(batch));
    // The upload body takes the tags as code page 936 bytes; a character without such a form
    // goes as "?".
    WireSettings wire{To936Lossy(batch.tags), PhotoStatusForVisibility(batch.visibilityIndex), 0};
    for (const BatchPhoto& photo : batch.photos) wire.bytes += static_cast<uint64_t>(photo.fileSize);
    uint64_t bytesBefore = 0;
    // From the second photo on, each is read while the one before it is on the wire.
    PhotoReadAhead reader;
    std::string content;  // the photo's file as it was read ahead
    // The snapshot's photos in the list's order are the journal's entries in its order.
    for (size_t entry = 0; entry < batch.photos.size(); ++entry) {
      if (Cancelled() || !WindowCaughtUp()) return;
      const BatchPhoto& photo = batch.photos[entry];
      // Reached, a turned photo takes its number, even when it is not sent after all.
      const int32_t fileNumber = photo.angle != 0 ? nextFileNumber_++ : 0;

      if (!RefreshTokenForPhoto(outcome) || Cancelled()) return;

      if (!PhotoFitsQuota(auth_.limit, auth_.used, photo.fileSize)) {
        Ui([host = &host_] { ShowPrompt(host->hwnd(), L"你的空间已经不够,请购买空间。", kNoticeCaption, MB_OK); });
        return;
      }

      RotatedCopy copy;
      const std::wstring sendPath = SendPathFor(photo, fileNumber, copy);
      const bool readBefore = reader.Take(sendPath, content);

      // Before the first byte goes (and before the window says it goes): a process killed from
      // now on leaves the photo in doubt.
      Journal().Record(entry, JournalState::Sending);
      Tell(BatchPhotoGoes{photo.place, copy, auth_.limit, auth_.used});

      if (entry + 1 < batch.photos.size()) ReadAhead(reader, batch.photos[entry + 1]);

      bool stop = false;
      const UploadAttempt attempt =
          SendWithRetries(wire, photo, sendPath, readBefore ? &content : nullptr, bytesBefore, outcome, stop);
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
      const bool maybeOnSite = photoId == 0 && MissReasonOf(attempt.end) == MissReason::MaybeOnSite;
      if (!Report(BatchPhotoDone{photo.place, photoId, maybeOnSite})) return;
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
  std::string toldBlogName_;    // the window's since the sign-in or the last token request
  int32_t nextFileNumber_ = 0;  // for the next turned copy
};

}  // namespace

UploadSession::Worker UploadWorkerFor(BatchHost& host) {
  return [&host](std::unique_ptr<UploadJob> job) noexcept {
    if (job) Batch(host, std::move(job)).Run();
  };
}

}  // namespace fernwick
