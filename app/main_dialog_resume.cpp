// A batch that did not end (the program was killed, crashed, lost its power, the window was
// closed) left its journal: at the next start the photos it did not send may go back into the
// list with their turns and the batch's tags and visibility (those that may already be on the
// site only when the user asks for them a second time), and the ids of those it sent into the
// View photos address.
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/main_dialog.h"
#include "base/core/notice_caption.h"
#include "base/program_state.h"
#include "base/prompt.h"
#include "upload/batch_journal_file.h"
#include "upload/core/resume_question.h"

namespace fernwick {

void MainDialog::OfferUnfinishedBatch() {
  FoundJournal found = ReadBatchJournal();
  // One held by another program for a moment is read at the next start.
  if (found.kind == FoundJournal::Kind::HeldNow) return;
  if (found.kind != FoundJournal::Kind::Read) {
    RemoveBatchJournal();  // none, or one that can never be understood
    return;
  }
  const BatchJournal& journal = found.journal;
  UnfinishedPhotos photos;
  std::vector<std::pair<std::wstring, bool>> candidates;  // in the batch's order, and whether unsure
  std::map<std::wstring, int> turns;
  for (const JournalPhoto& photo : journal.photos) {
    if (photo.state == JournalState::Sent) continue;
    const bool unsure = MayBeOnSite(photo.state);
    ++(unsure ? photos.unsure : photos.unsent);
    const std::wstring path = WideFromJournal(photo.sourcePath);
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      photos.missing.push_back(path);
    } else if (turns.emplace(path, photo.turn).second) {
      candidates.emplace_back(path, unsure);
      ++(unsure ? photos.unsureBack : photos.unsentBack);
    }
  }
  // With nothing left to send there is nothing to ask; the ids sent still count.
  const int answer = photos.unsent + photos.unsure == 0
                         ? IDOK
                         : ShowPrompt(hwnd(), ResumeQuestionText(photos), kNoticeCaption,
                                      photos.unsentBack == 0 ? MB_OK | MB_ICONINFORMATION : MB_YESNO | MB_ICONQUESTION);
  // A question that could not be shown has had no answer: the journal waits for the next
  // start (whose originals on a memory card may be back by then), without the changes a batch
  // cut off appended to it.
  if (answer == 0) {
    WriteBatchJournal(journal);
    return;
  }
  const bool wanted = answer == IDYES || answer == IDOK;
  // A photo that may be on the site comes back only when the user asks for it: No unless told.
  const bool unsureToo = wanted && photos.unsureBack > 0 &&
                         ShowPrompt(hwnd(), ResumeUnsureQuestionText(photos.unsureBack), kNoticeCaption,
                                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
  RemoveBatchJournal();
  // No: nothing comes back.
  if (!wanted) return;
  for (const JournalPhoto& photo : journal.photos) {
    if (photo.state == JournalState::Sent) AppendUploadedPhotoId(photo.photoId);
  }
  std::vector<std::wstring> back;
  for (auto& [path, unsure] : candidates) {
    if (unsure ? unsureToo : answer == IDYES) back.push_back(std::move(path));
  }
  if (back.empty()) return;
  settingsPage_.SetTags(WideFromJournal(journal.tags));
  settingsPage_.SetVisibilityIndex(journal.visibilityIndex);
  settingsPage_.Transfer(false);
  pendingTurns_ = std::move(turns);
  preparer_.Add(back, SizeLimit());
}

void MainDialog::ApplyPendingTurns() {
  if (pendingTurns_.empty()) return;
  for (size_t slot = 0; slot < photos_.Count(); ++slot) {
    PhotoItem* item = photos_.SlotAt(slot);
    const auto turn = item ? pendingTurns_.find(item->sourcePath) : pendingTurns_.end();
    if (turn == pendingTurns_.end()) continue;
    // The same quarter turns the user gave it, so the angle comes back exactly as it was.
    for (int quarters = turn->second / 90; quarters != 0; quarters += quarters > 0 ? -1 : 1) {
      item->TurnQuarter(quarters > 0);
    }
    pendingTurns_.erase(turn);
  }
}

}  // namespace fernwick
