#pragma once
// The one owner of an upload batch: whether one runs, its cancel, and what happens to the
// window when it ends. It lives with the window and is used on the UI thread; the worker shares
// only the flags below and hands its end back through the window's task channel.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/ui_task.h"
#include "upload/batch_host.h"
#include "upload/batch_journal_keeper.h"
#include "upload/core/retry_rules.h"

namespace fernwick {

class UploadSession;

// The flags the worker thread reads (cancel, closing) and, when the window has gone, lowers
// (running), and the batch's journal. Shared, so a worker that outlives the window never
// reaches into it.
struct BatchFlags {
  std::atomic<bool> running{false};
  std::atomic<bool> cancel{false};
  // A close waits for the batch (or OK's sign-in check) to end: the worker cuts off the request
  // in flight and keeps the journal. Raised and lowered only on the UI thread, by the session:
  // lowered when the window it waited for is closed.
  std::atomic<bool> closing{false};
  BatchJournalKeeper journal;
};

// What a batch hands to its worker, which owns it from then on. `session` is used only inside
// tasks run on the UI thread, through `ui`, which refuses them once the window is gone.
struct UploadJob {
  std::wstring userName;
  std::wstring password;
  UploadSession* session = nullptr;
  std::shared_ptr<UiTaskChannel> ui;
  std::shared_ptr<BatchFlags> flags;
};

// How a batch ended, for its closing steps.
struct BatchOutcome {
  int result = -2;         // the last request's result code
  int sent = 0;            // photos the server took
  std::vector<MissedPhoto> missed;  // photos tried that did not arrive, and why
  bool doneShown = false;           // the end-of-batch steps ran
};

// The last thing every worker does, from its own thread: the session's Finish on the UI
// thread, or, when the window has gone, only the running flag lowered.
void EndBatch(const UploadJob& job, const BatchOutcome& outcome) noexcept;

class UploadSession {
 public:
  // A batch's whole work on the thread it is given; it must end with EndBatch and let nothing
  // escape, since it is that thread's entry.
  using Worker = std::function<void(std::unique_ptr<UploadJob>)>;

  UploadSession(SessionHost& host, Worker worker);
  UploadSession(const UploadSession&) = delete;
  UploadSession& operator=(const UploadSession&) = delete;

  bool running() const noexcept { return flags_->running.load(); }
  // The account is being checked before a batch (OK was pressed, the worker not started yet).
  bool checking() const noexcept { return checking_; }
  bool cancelRequested() const noexcept { return flags_->cancel.load(); }
  // A close is waiting for the worker to end.
  bool closing() const noexcept { return flags_->closing.load(); }

  // OK was pressed: OK and Back wait while the account is checked, and a close waits for the
  // check as for a batch. False, and nothing changed, while a check or a batch is under way.
  bool BeginSignInCheck() noexcept;
  // The check's answer: with `signedIn` (and no close asked for meanwhile) the batch starts;
  // otherwise OK and Back are free again, and a close that waited for the check happens now.
  void EndSignInCheck(bool signedIn, const std::wstring& userName, const std::wstring& password) noexcept;
  // Starts a batch for this account on a thread of its own, with OK and Back disabled until it
  // ends. False, and nothing changed, when one already runs or no thread could be started.
  bool Start(const std::wstring& userName, const std::wstring& password);
  // Cancel on the progress page: no more photos are sent; the one in flight is finished while
  // its transfer moves, and cut off when it stands still for a few seconds.
  void Cancel() noexcept { flags_->cancel.store(true); }
  // Windows ends the session, and the process with it, without waiting for the batch: its
  // journal is written as it stands, the photo in flight as being sent.
  void SessionEnds() noexcept;
  // Closes the window now when no batch runs. Otherwise the worker still uses the window and
  // the photo list: the batch is cut off at once, the photo in flight too, and the window
  // closes when the worker has ended, within a fraction of a second. Nothing here waits for it.
  void Close() noexcept;
  // The worker's end, on the UI thread: the closing messages (none when the window is being
  // closed), OK and Back enabled again, and a close that waited done now.
  void Finish(const BatchOutcome& outcome) noexcept;

 private:
  // The close that waited for the check or the batch, now that neither runs.
  void CloseIfWaiting() noexcept;

  SessionHost& host_;
  Worker worker_;
  std::shared_ptr<BatchFlags> flags_;
  bool checking_ = false;
};

}  // namespace fernwick
