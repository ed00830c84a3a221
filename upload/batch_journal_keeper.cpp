#include "upload/batch_journal_keeper.h"

#include <utility>

#include "upload/batch_journal_file.h"

namespace fernwick {

void BatchJournalKeeper::Start(BatchJournal journal) {
  std::lock_guard guard(lock_);
  journal_ = std::move(journal);
  started_ = true;
  written_ = WriteWhole();
}

bool BatchJournalKeeper::WriteWhole() {
  appendable_ = WriteBatchJournal(journal_, JournalForm::kChangesFollow);
  return appendable_;
}

void BatchJournalKeeper::Record(size_t entry, JournalState state, int32_t photoId) {
  std::lock_guard guard(lock_);
  if (!started_ || entry >= journal_.photos.size()) return;
  JournalPhoto& photo = journal_.photos[entry];
  photo.state = state;
  photo.photoId = state == JournalState::Sent ? photoId : 0;
  // The flush is most of a change's cost, and only a photo about to go must be on the disk
  // before it does. Its answer, appended after, stays in the system's cache until the next
  // photo's flush takes it along (or the batch's end removes the journal): a process killed
  // meanwhile leaves it written; a power cut loses it, and the photo reads as being sent, may
  // be on the site, which is never sent again by default.
  const bool flush = state == JournalState::Sending;
  // A change that could not be appended whole is not lost: the journal is written whole.
  if (appendable_ && AppendBatchJournalChange(entry, state, photo.photoId, flush)) return;
  written_ |= WriteWhole();
}

void BatchJournalKeeper::WriteNow() {
  std::lock_guard guard(lock_);
  if (started_) written_ |= WriteWhole();
}

void BatchJournalKeeper::End(bool keep) {
  std::lock_guard guard(lock_);
  // Kept for the next start: compacted, as a program older than the appended changes reads it.
  if (started_ && keep) written_ |= WriteBatchJournal(journal_);
  if (started_ && written_ && !keep) RemoveBatchJournal();
  started_ = false;
  written_ = false;
}

}  // namespace fernwick
