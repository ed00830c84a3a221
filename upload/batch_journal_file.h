#pragma once
// Where the journal of the running batch lives: "batch.journal" in the program's local folder
// of the user (beside fernwick.log). Only the upload batch writes it, and only the start of
// the program reads and removes it when a batch did not end.
#include <optional>
#include <string>
#include <string_view>

#include "upload/core/batch_journal.h"

namespace fernwick {

// The user's texts in the journal's form and back (journal_text.h), whatever UTF-16 they hold.
std::string JournalText(std::wstring_view text);
std::wstring WideFromJournal(std::string_view bytes);

// Empty when the user's local folder is not known.
std::wstring BatchJournalPath();

// Puts the journal in place whole (new file, flushed, renamed over the old), in `form`. A
// journal that cannot be written costs only the resumption after a crash: logged, the batch
// goes on.
bool WriteBatchJournal(const BatchJournal& journal, JournalForm form = JournalForm::kWhole);

// Appends a change to the journal in place, which was written as `kChangesFollow`, and with
// `flush` flushes it, and any change appended before, to the disk; false when it is not all
// there (no journal, a full disk): the caller writes the journal whole instead, which also puts
// away a line cut off.
bool AppendBatchJournalChange(size_t entry, JournalState state, int32_t photoId, bool flush = true);

// What the start finds of the journal of a batch that did not end.
struct FoundJournal {
  enum class Kind {
    None,           // no journal
    HeldNow,        // there, but cannot be read now (another program holds it, a read error)
    NotUnderstood,  // read, and never will be understood
    Read,
  };
  Kind kind = Kind::None;
  BatchJournal journal;  // with Read
};
FoundJournal ReadBatchJournal();

void RemoveBatchJournal();

}  // namespace fernwick
