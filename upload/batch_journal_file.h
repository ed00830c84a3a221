#pragma once
// Where the journal of the running batch lives: "batch.journal" in the program's local folder
// of the user (beside fernwick.log). Only the upload worker writes it, and only the start of
// the program reads and removes it when a batch did not end.
#include <optional>
#include <string>

#include "upload/core/batch_journal.h"

namespace fernwick {

// Empty when the user's local folder is not known.
std::wstring BatchJournalPath();

// Puts the journal in place whole (new file, flushed, renamed over the old). A journal that
// cannot be written costs only the resumption after a crash: logged, the batch goes on.
bool WriteBatchJournal(const BatchJournal& journal);

// The journal of a batch that did not end; none when there is none or it cannot be read.
std::optional<BatchJournal> ReadBatchJournal();

void RemoveBatchJournal();

}  // namespace fernwick
