#include "upload/batch_journal_keeper.h"

#include <utility>

#include "upload/batch_journal_file.h"

namespace fernwick {

void BatchJournalKeeper::Start(BatchJournal journal) {
  std::lock_guard guard(lock_);
  journal_ = std::move(journal);
  started_ = true;
  written_ = WriteBatchJournal(journal_);
}

void BatchJournalKeeper::Record(size_t entry, JournalState state, int32_t photoId) {
  std::lock_guard guard(lock_);
  if (!started_ || entry >= journal_.photos.size()) return;
  JournalPhoto& photo = journal_.photos[entry];
  photo.state = state;
  photo.photoId = state == JournalState::Sent ? photoId : 0;
  written_ |= WriteBatchJournal(journal_);
}

void BatchJournalKeeper::WriteNow() {
  std::lock_guard guard(lock_);
  if (started_) written_ |= WriteBatchJournal(journal_);
}

void BatchJournalKeeper::End(bool keep) {
  std::lock_guard guard(lock_);
  if (started_ && written_ && !keep) RemoveBatchJournal();
  started_ = false;
  written_ = false;
}

}  // namespace fernwick
