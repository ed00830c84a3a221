// A batch that did not end (the program was killed, crashed, lost its power) left its journal:
// at the next start the photos it did not send may go back into the list, with their turns and
// the batch's tags and visibility, and the ids of those it sent into the View photos address.
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "base/core/notice_caption.h"
#include "base/program_state.h"
#include "base/prompt.h"
#include "base/text_936.h"
#include "upload/batch_journal_file.h"
#include "upload/core/resume_question.h"

namespace fernwick {

void MainDialog::OfferUnfinishedBatch() {
  const std::optional<BatchJournal> journal = ReadBatchJournal();
  if (!journal) {
    RemoveBatchJournal();  // none, or one that can never be understood
    return;
  }
  std::vector<std::wstring> back;
  std::vector<std::wstring> missing;
  std::map<std::wstring, int> turns;
  for (const JournalPhoto& photo : journal->photos) {
    if (photo.state == JournalState::Sent) continue;
    const std::wstring path = WideFromUtf8(photo.sourcePath);
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      missing.push_back(path);
    } else if (turns.emplace(path, photo.turn).second) {
      back.push_back(path);
    }
  }
  const size_t unsent = back.size() + missing.size();
  // With nothing left to send there is nothing to ask; the ids sent still count.
  const int answer = unsent == 0 ? IDOK
                                 : ShowPrompt(hwnd(), ResumeQuestionText(unsent, missing), kNoticeCaption,
                                              back.empty() ? MB_OK | MB_ICONINFORMATION : MB_YESNO | MB_ICONQUESTION);
  RemoveBatchJournal();
  // No, or a message box that could not be shown: nothing comes back.
  if (answer != IDYES && answer != IDOK) return;
  for (const JournalPhoto& photo : journal->photos) {
    if (photo.state == JournalState::Sent) AppendUploadedPhotoId(photo.photoId);
  }
  if (back.empty()) return;
  settingsPage_.SetTags(WideFromUtf8(journal->tags));
  settingsPage_.SetVisibilityIndex(journal->visibilityIndex);
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
