#pragma once
// The running batch's journal, held for the two threads that write it: the worker, which
// records each photo before and after its attempts, and the UI thread, which writes it again
// when Windows ends the session (the process is then ended without a word to the worker).
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "upload/core/batch_journal.h"

namespace fernwick {

class BatchJournalKeeper {
 public:
  // The batch as it starts, written at once.
  void Start(BatchJournal journal);
  // Photo `entry` (its place among the batch's photos) and its state, appended to the journal
  // at once.
  void Record(size_t entry, JournalState state, int32_t photoId = 0);
  // Writes the journal whole as it stands, the photo in flight as being sent, for a session
  // that ends now: a write the worker could not make (the file held for a moment) is tried
  // again.
  void WriteNow();
  // The batch has ended: its journal is removed, unless `keep` (the window was closed during
  // it, and the photos not sent, which leave with it, are offered at the next start): then it
  // is written whole, without its changes. Nothing is written after.
  void End(bool keep);

 private:
  // The journal whole, its changes to be appended; false when it could not be written.
  bool WriteWhole();

  std::mutex lock_;
  BatchJournal journal_;
  bool started_ = false;
  bool written_ = false;
  // Whether the file holds what the journal held at the last write, so a change may be
  // appended to it.
  bool appendable_ = false;
};

}  // namespace fernwick
