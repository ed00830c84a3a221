#pragma once
// The journal of an upload batch that is under way: what the batch was (tags, visibility, each
// photo's original file, turn and state), so that a batch a crash or a power cut cut off can be
// picked up at the next start. The file is small UTF-8 text, one fact a line:
//
//   fernwick batch journal 1
//   tags 海边\n旅行
//   visibility 1
//   photo sent 0 4711 C:\Photos\a.jpg
//   photo sending 0 0 C:\Photos\c.jpg
//   photo waiting 90 0 C:\Photos\b.jpg
//
// Texts are the journal's form of UTF-16 (journal_text.h), escaped (\\, \n, \r, \t, and \xHH for
// the other control characters) so that every fact stays on its line. The heading, the tags and
// the visibility must be whole, or there is no journal; the photos count as far as their lines
// are whole and understood. The states "sending" and "unsure" came later: a journal without them
// reads as it always did.
//
// A running batch does not write the whole file again at every change: it starts the journal
// under its own heading, "fernwick batch journal 1, changes appended", and then appends a line
// for each change of a photo's state, flushed before the batch goes on:
//
//   change 2 sent 4711
//
// (the photo's place among the photo lines, its state, the server's id). The changes count in
// their order, as far as they are whole and understood: a change cut off mid-line leaves the
// state before it, which a change is always safe to fall back to (a photo being sent reads as
// such until its answer is whole). A program older than the changes does not know that
// heading and passes the journal over, rather than offer photos it sent as not sent.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick {

enum class JournalState {
  Waiting,      // not tried yet
  Sent,         // the server took it and gave its id
  Failed,       // tried, and the server cannot have stored it
  Sending,      // an attempt is under way: a journal left so was cut off mid-photo
  MaybeOnSite,  // the whole body went and no definite answer came back
};

// Whether the photo may already be on the site though no id came: sending it again may make
// a second copy.
bool MayBeOnSite(JournalState state) noexcept;

struct JournalPhoto {
  std::string sourcePath;  // the journal's form (journal_text.h) of the file the user added
  int turn = 0;            // degrees, -270 .. 270 in steps of 90
  JournalState state = JournalState::Waiting;
  int32_t photoId = 0;  // the server's, for a photo sent
  bool operator==(const JournalPhoto&) const = default;
};

struct BatchJournal {
  std::string tags;         // the journal's form (journal_text.h)
  int visibilityIndex = 0;  // the photo-settings page's: 0, 1, 2, or -1 for none
  std::vector<JournalPhoto> photos;
  bool operator==(const BatchJournal&) const = default;
};

// The turn the journal records for a photo: from the user's original file, whose working copy
// may already be turned by `sendTurn` degrees clockwise (0 .. 270), plus the photo's `angle`
// still to come (-270 .. 270); -270 .. 270, as the user's own turns go when nothing was applied.
int TurnFromOriginal(int sendTurn, int angle) noexcept;

enum class JournalForm {
  kWhole,          // as it stands, with nothing after it
  kChangesFollow,  // the batch's start: changes are appended to it
};
std::string EncodeBatchJournal(const BatchJournal& journal, JournalForm form = JournalForm::kWhole);

// The line appended to a journal written as `kChangesFollow` when photo `entry` (its place
// among the batch's photos) takes `state`; `photoId` counts only for a photo sent.
std::string EncodeJournalChange(size_t entry, JournalState state, int32_t photoId);

// None when the heading, the tags or the visibility line is missing, torn or not understood.
std::optional<BatchJournal> DecodeBatchJournal(std::string_view bytes);

}  // namespace fernwick
