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

// Puts the journal in place whole (new file, flushed, renamed over the old). A journal that
// cannot be written costs only the resumption after a crash: logged, the batch goes on.
bool WriteBatchJournal(const BatchJournal& journal);

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
