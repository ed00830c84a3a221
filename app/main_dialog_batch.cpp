// The upload batch's steps on the main window: the worker hands each of them to the UI thread
// and never touches a window, a page member or the photo list itself.
#include "app/main_dialog.h"

#include <commctrl.h>

#include "base/program_state.h"
#include "base/text_936.h"
#include "base/ui_thread.h"
#include "res/main_window_ids.h"
#include "upload/batch_journal_file.h"
#include "upload/core/upload_rules.h"

namespace fernwick {

void MainDialog::EnableOk(bool enable) noexcept {
  AssertUiThread();
  HWND ok = Item(ids::kOkButton);
  ::EnableWindow(ok, enable);
  // Disabling OK took the focus from it; it is the page's button to press again.
  if (enable && !::GetFocus() && ::GetActiveWindow() == hwnd() && ::IsWindowVisible(ok)) {
    ::SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ok), TRUE);
  }
}

void MainDialog::EnableBack(bool enable) noexcept {
  AssertUiThread();
  ::EnableWindow(Item(ids::kBackButton), enable);
}

void MainDialog::CloseWindow() noexcept {
  AssertUiThread();
  if (modal_) {
    ::EndDialog(hwnd(), 1);
  } else {
    ::DestroyWindow(hwnd());
  }
}

BatchSettings MainDialog::ReadSettings() {
  AssertUiThread();
  settingsPage_.Transfer(true);
  // The upload body takes the tags as code page 936 bytes; a character without such a form
  // goes as "?".
  BatchSettings settings{To936Lossy(settingsPage_.tags()), PhotoStatusForVisibility(settingsPage_.visibilityIndex()),
                         photos_.Count()};
  settings.journal.tags = JournalText(settingsPage_.tags());
  settings.journal.visibilityIndex = settingsPage_.visibilityIndex();
  for (size_t slot = 0; slot < photos_.Count(); ++slot) {
    const PhotoItem* item = photos_.SlotAt(slot);
    if (!item) continue;
    settings.photoBytes += static_cast<uint64_t>(item->fileSize);
    // The user's own file, turned as the user turned it: the working copies are gone with the
    // program, and a copy an earlier batch turned has already taken part of the turn.
    settings.journal.photos.push_back(
        {JournalText(item->sourcePath), TurnFromOriginal(item->sendTurn, static_cast<int>(item->angle))});
  }
  return settings;
}

void MainDialog::StoreToken(const std::string& authstr) {
  AssertUiThread();
  accounts_.authToken = authstr;
}

void MainDialog::StoreBlogName(const std::string& blogName) {
  AssertUiThread();
  accounts_.blogName = blogName;
}

void MainDialog::ShowProgress() {
  AssertUiThread();
  EnterState(WindowState::kProgress);
  progressPage_.ShowShares(0, 0);
}

std::optional<SlotPhoto> MainDialog::PhotoInSlot(size_t slot) {
  AssertUiThread();
  if (slot >= photos_.Count()) return std::nullopt;
  SlotPhoto photo;
  if (const PhotoItem* item = photos_.SlotAt(slot)) {
    photo.item = item;
    photo.fileSize = item->fileSize;
    photo.angle = item->angle;
    photo.sendPath = item->sendPath;
    photo.title = item->title;
    if (item->angle != 0) photo.fileNumber = photos_.TakeFileNumber();
  }
  return photo;
}

std::wstring MainDialog::ApplyRotation(size_t slot, const PhotoItem* item, const RotatedCopy& copy) {
  AssertUiThread();
  if (!StillInSlot(slot, item)) return copy.path;
  // A turned copy that could not be written does not become the photo's: the photo then fails
  // to send and stays in the list, and it must keep its own file and its turn for a later try.
  // The path of the missing copy is what gets sent, so the send fails as for any unreadable file.
  if (copy.degrees != 0 && !copy.written) return copy.path;
  PhotoItem& photo = *photos_.SlotAt(slot);
  ApplyRotatedCopy(photo, copy);
  return photo.sendPath;
}

void MainDialog::ShowQuotaLine(int32_t limit, int32_t used) {
  AssertUiThread();
  accounts_.quotaText = BatchQuotaText(limit, used);
  RefreshAccountDisplay();
}

void MainDialog::ShowSending(size_t slot, const PhotoItem* item) {
  AssertUiThread();
  if (!StillInSlot(slot, item)) return;
  PhotoItem* photo = photos_.SlotAt(slot);
  progressPage_.SetCurrentItem(photo);
  ::UpdateWindow(progressPage_.hwnd());
  ::InvalidateRect(progressPage_.hwnd(), nullptr, TRUE);
  ::SendMessageW(progressPage_.upperBar(), PBM_SETPOS, 0, 0);  // nothing of this photo has gone yet
  progressPage_.ShowStatus(L"发送图片'" + photo->title + L"'");
}

void MainDialog::ShowSentShare(int photoPermille, int batchPermille) {
  AssertUiThread();
  progressPage_.ShowShares(photoPermille, batchPermille);
}

void MainDialog::PhotoSent(size_t slot, const PhotoItem* item, int32_t photoId) {
  AssertUiThread();
  if (progressPage_.currentItem() == item) progressPage_.SetCurrentItem(nullptr);
  if (photoId <= 0 || !StillInSlot(slot, item)) return;
  photos_.DetachUploaded(slot);
  AppendUploadedPhotoId(photoId);
}

void MainDialog::ShowDone() {
  AssertUiThread();
  progressPage_.SetCurrentItem(nullptr);  // the page draws no thumbnail any more
  photos_.RemoveEmptySlots();
  photos_.ClearSelection();
  settingsPage_.SetTags({});
  settingsPage_.Transfer(false);
  EnterState(WindowState::kDone);
}

bool MainDialog::StillInSlot(size_t slot, const PhotoItem* item) const { return item && photos_.SlotAt(slot) == item; }

}  // namespace fernwick
