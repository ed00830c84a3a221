// The main window's use of the upload history: the grid's marks of photos the current account
// already sent, Upload's question about them, and the records a batch leaves. All on the UI
// thread, which alone holds the history.
#include "app/main_dialog.h"

#include <algorithm>

#include "base/core/notice_caption.h"
#include "base/prompt.h"
#include "base/ui_thread.h"

namespace fernwick {

bool MainDialog::MarkSentPhotos(std::size_t fromSlot) {
  AssertUiThread();
  bool changed = false;
  const auto& slots = photos_.slots();
  for (std::size_t slot = fromSlot; slot < slots.size(); ++slot) {
    PhotoItem* item = slots[slot].get();
    if (!item) continue;
    const HistoryEntry* entry =
        accounts_.currentUserName().empty() ? nullptr : history_.Find(accounts_.currentUserName(), item->original);
    const PhotoItem::SentBefore sent = !entry               ? PhotoItem::SentBefore::kNo
                                       : entry->photoId > 0 ? PhotoItem::SentBefore::kYes
                                                            : PhotoItem::SentBefore::kMaybe;
    std::wstring date = entry ? HistoryDateText(entry->time) : std::wstring();
    if (sent == item->sentBefore && date == item->sentDate) continue;
    item->sentBefore = sent;
    item->sentDate = std::move(date);
    changed = true;
  }
  return changed;
}

void MainDialog::ForgetAccountHistory(const std::wstring& userName) {
  AssertUiThread();
  history_.ForgetAccount(userName);
  if (MarkSentPhotos() && view_.hwnd()) ::InvalidateRect(view_.hwnd(), nullptr, FALSE);
}

bool MainDialog::AskAboutSentPhotos() {
  keepSentPhotos_ = false;
  MarkSentPhotos();
  const auto& slots = photos_.slots();
  const auto sent = std::count_if(slots.begin(), slots.end(), [](const auto& item) {
    return item && item->sentBefore != PhotoItem::SentBefore::kNo;
  });
  if (sent == 0) return true;
  const std::wstring question = L"有" + std::to_wstring(sent) + L"张图片已经上传过。仍然上传这些图片吗？";
  // Only Yes sends them again: a question that could not be shown keeps them back, as No does.
  if (ShowPrompt(hwnd(), question, kNoticeCaption, MB_YESNO | MB_ICONQUESTION) == IDYES) return true;
  keepSentPhotos_ = true;
  return static_cast<unsigned>(sent) < PhotoCount();
}

}  // namespace fernwick
