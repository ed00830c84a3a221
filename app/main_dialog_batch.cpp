// The upload batch's calls on the main window: the batch taken from the photo-settings page and
// the list as it starts, and the worker's reports applied. The worker itself never touches a
// window, a page or the photo list.
#include "app/main_dialog.h"

#include <commctrl.h>

#include <utility>
#include <variant>

#include "base/program_state.h"
#include "base/ui_thread.h"
#include "res/main_window_ids.h"
#include "upload/core/upload_rules.h"

namespace fernwick {

namespace {

void Apply(MainDialog& window, const BatchSignedIn& report) {
  window.accounts().KeepBlogName(report.blogName);
  window.EnterState(WindowState::kProgress);
  window.progressPage().ShowShares(0, 0);
  window.taskbar().ShowProgress(0, 1000);
}

void Apply(MainDialog& window, const BatchBlogName& report) { window.accounts().KeepBlogName(report.blogName); }

void Apply(MainDialog& window, const BatchPhotoGoes& report) {
  PhotoItem* photo = PhotoAt(window.photos(), report.place);
  // A turned copy that could not be written does not become the photo's (ApplyRotatedCopy): the
  // photo then fails to send and stays in the list with its own file and its turn.
  if (photo) ApplyRotatedCopy(*photo, report.copy);
  window.accounts().ShowQuota(BatchQuotaPercent(report.quotaLimit, report.quotaUsed));
  // Only the quota moved: the account is the batch's, and the marks of photos sent before are
  // made again when the batch ends. Marking them here walked the whole list for every photo.
  window.ShowQuotaLine();
  if (!photo) return;
  ProgressPage& page = window.progressPage();
  page.ShowCurrentItem(photo);
  ::SendMessageW(page.upperBar(), PBM_SETPOS, 0, 0);  // nothing of this photo has gone yet
  page.ShowStatus(L"发送图片'" + photo->title + L"'");
}

void Apply(MainDialog& window, const BatchShares& report) {
  window.progressPage().ShowShares(report.photoPermille, report.batchPermille);
  window.taskbar().ShowProgress(static_cast<uint64_t>(report.batchPermille), 1000);
}

void Apply(MainDialog& window, const BatchPhotoDone& report) {
  if (window.progressPage().currentItem() == report.place.item) window.progressPage().SetCurrentItem(nullptr);
  const PhotoItem* photo = PhotoAt(window.photos(), report.place);
  // Before the photo leaves the list, which holds what the history knows it by.
  if (photo && (report.photoId > 0 || report.maybeOnSite)) {
    window.history().Record(window.accounts().currentUserName(), photo->original, report.photoId, photo->title);
  }
  if (report.photoId <= 0 || !photo) return;
  window.photos().DetachUploaded(report.place.slot);
  AppendUploadedPhotoId(report.photoId);
}

void Apply(MainDialog& window, const BatchDone& report) {
  window.progressPage().SetCurrentItem(nullptr);  // the page draws no thumbnail any more
  PhotoList& photos = window.photos();
  while (photos.NextFileNumber() < report.nextFileNumber) photos.TakeFileNumber();
  photos.RemoveEmptySlots();
  photos.ClearSelection();
  window.MarkSentPhotos();  // one that may be on the site now is marked so
  window.settingsPage().SetTags({});
  window.settingsPage().Transfer(false);
  window.EnterState(WindowState::kDone);
  // Red while photos the batch did not send wait in the list, until the list shows again.
  if (photos.Count() > 0) {
    window.taskbar().ShowError();
  } else {
    window.taskbar().Clear();
  }
  TaskbarButton::FlashIfInBackground(window.hwnd());
}

}  // namespace

void MainDialog::EnableOkAndBack(bool enable) noexcept {
  AssertUiThread();
  ::EnableWindow(Item(ids::kBackButton), enable);
  HWND ok = Item(ids::kOkButton);
  ::EnableWindow(ok, enable);
  // Disabling OK took the focus from it; it is the page's button to press again.
  if (enable && !::GetFocus() && ::GetActiveWindow() == hwnd() && ::IsWindowVisible(ok)) {
    ::SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ok), TRUE);
  }
}

void MainDialog::CloseWindow() noexcept {
  AssertUiThread();
  if (modal_) {
    ::EndDialog(hwnd(), 1);
  } else {
    ::DestroyWindow(hwnd());
  }
}

BatchSnapshot MainDialog::TakeBatch() {
  AssertUiThread();
  settingsPage_.Transfer(true);
  BatchSnapshot batch = SnapshotOf(photos_, settingsPage_.tags(), settingsPage_.visibilityIndex());
  // Upload's question was answered No: the photos sent before stay in the list, unsent.
  if (std::exchange(keepSentPhotos_, false)) {
    std::erase_if(batch.photos,
                  [](const BatchPhoto& photo) { return photo.place.item->sentBefore != PhotoItem::SentBefore::kNo; });
  }
  return batch;
}

void MainDialog::ApplyBatchReport(const BatchReport& report) {
  AssertUiThread();
  std::visit([this](const auto& each) { Apply(*this, each); }, report);
}

}  // namespace fernwick
