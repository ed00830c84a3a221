#include "upload/batch_window.h"

#include <commctrl.h>

#include <cstdio>

#include "accounts/core/account_texts.h"
#include "upload/core/upload_rules.h"
#include "app/main_dialog.h"
#include "res/main_window_ids.h"
#include "base/program_state.h"
#include "base/prompt.h"
#include "service/core/result_codes.h"

namespace fernwick {

namespace {
constexpr char kCaption[] = "提示";
}  // namespace

BatchSettings BatchWindow::ReadSettings() {
  PhotoSettingsPage& page = dialog_.settingsPage();
  page.Transfer(true);
  return BatchSettings{page.tags(), PhotoStatusForVisibility(page.visibilityIndex()), dialog_.view().Count()};
}

void BatchWindow::StoreToken(const std::string& authstr) { dialog_.accounts().authToken = authstr; }

void BatchWindow::StoreBlogName(const std::string& blogName) { dialog_.accounts().blogName = blogName; }

void BatchWindow::ShowProgressState(unsigned photoCount) {
  HWND main = dialog_.hwnd();
  ProgressPage& progress = dialog_.progressPage();
  ::ShowWindow(dialog_.settingsPage().hwnd(), SW_HIDE);
  ::ShowWindow(::GetDlgItem(main, ids::kOkButton), SW_HIDE);
  ::ShowWindow(::GetDlgItem(main, ids::kBackButton), SW_HIDE);
  ::ShowWindow(progress.hwnd(), SW_SHOW);
  ::SendMessageA(main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(progress.Item(ProgressPage::kCancelButton)), TRUE);
  ::SendMessageA(progress.overallBar(), PBM_SETRANGE32, 0, static_cast<LPARAM>(photoCount));
  // A close the user confirmed before the batch got here stops it before its first photo.
  progress.setCancelRequested(dialog_.closeRequestedDuringUpload());
}

std::optional<SlotPhoto> BatchWindow::PhotoInSlot(size_t slot) {
  ThumbnailView& view = dialog_.view();
  if (slot >= view.Count()) return std::nullopt;
  SlotPhoto photo;
  if (const PhotoItem* item = view.SlotAt(slot)) {
    photo.item = item;
    photo.fileSize = item->fileSize;
    photo.angle = item->angle;
    photo.sendPath = item->sendPath;
    photo.title = item->title;
    if (item->angle != 0) photo.fileNumber = view.TakeFileNumber();
  }
  return photo;
}

void BatchWindow::TellQuotaExceeded() { ShowPrompt(dialog_.hwnd(), "你的空间已经不够,请购买空间。", kCaption, MB_OK); }

std::string BatchWindow::ApplyRotation(size_t slot, const PhotoItem* item, const RotatedCopy& copy) {
  if (!StillInSlot(slot, item)) return copy.path;
  // A turned copy that could not be written does not become the photo's: the photo then fails
  // to send and stays in the list, and it must keep its own file and its turn for a later try.
  // The path of the missing copy is what gets sent, so the send fails as for any unreadable file.
  if (copy.degrees != 0 && !copy.written) return copy.path;
  PhotoItem& photo = *dialog_.view().SlotAt(slot);
  ApplyRotatedCopy(photo, copy);
  return photo.sendPath;
}

void BatchWindow::ShowQuotaLine(int32_t limit, int32_t used) {
  dialog_.accounts().quotaText = BatchQuotaText(limit, used);
  dialog_.refreshAccountDisplay();
}

void BatchWindow::ShowSending(size_t slot, const PhotoItem* item, int number) {
  if (!StillInSlot(slot, item)) return;
  PhotoItem* photo = dialog_.view().SlotAt(slot);
  ProgressPage& progress = dialog_.progressPage();
  progress.setCurrentItem(photo);
  ::UpdateWindow(progress.hwnd());
  ::InvalidateRect(progress.hwnd(), nullptr, TRUE);
  ::SendMessageA(progress.overallBar(), PBM_SETPOS, static_cast<WPARAM>(number), 0);
  char status[MAX_PATH + 32];
  std::snprintf(status, sizeof(status), "发送图片'%s'", photo->title.c_str());
  progress.ShowStatus(status);
}

void BatchWindow::PhotoSent(size_t slot, const PhotoItem* item, int32_t photoId) {
  ProgressPage& progress = dialog_.progressPage();
  if (progress.currentItem() == item) progress.setCurrentItem(nullptr);
  if (photoId <= 0 || !StillInSlot(slot, item)) return;
  dialog_.view().DetachUploaded(slot);
  AppendUploadedPhotoId(photoId);
}

void BatchWindow::ShowDonePage() {
  ProgressPage& progress = dialog_.progressPage();
  progress.setCancelRequested(true);  // also ends the thumbnail drawing
  progress.setCurrentItem(nullptr);
  ::ShowWindow(progress.hwnd(), SW_HIDE);
  ThumbnailView& view = dialog_.view();
  view.RemoveEmptySlots();
  view.ClearSelection();
  PhotoSettingsPage& settings = dialog_.settingsPage();
  settings.setTags({});
  settings.Transfer(false);
  DonePage* done = dialog_.donePage();
  if (!done) return;
  ::ShowWindow(done->hwnd(), SW_SHOW);
  done->setOwner(&dialog_);
  ::SendMessageA(dialog_.hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(done->Item(DonePage::kViewPhotosButton)),
                 TRUE);
}

void BatchWindow::ShowClosingMessages(HWND main, const BatchOutcome& outcome) {
  if (outcome.doneShown && outcome.notAccepted > 0) {
    char text[128];
    std::snprintf(text, sizeof(text), "有%d张图片没有上传成功，它们仍在列表中。", outcome.notAccepted);
    ShowPrompt(main, text, kCaption, MB_OK);
  }
  if (outcome.result == kResultNoExchange) {
    ShowPrompt(main, kNoConnectionText, kCaption, MB_OK);
  } else if (outcome.result == kResultRefused) {
    ShowPrompt(main, kWrongPasswordText, kCaption, MB_OK);
  }
}

void BatchWindow::Finish(const BatchOutcome& outcome) {
  HWND main = dialog_.hwnd();
  // The user has chosen to quit: no news about a batch that is being left.
  if (!dialog_.closeRequestedDuringUpload()) {
    try {
      ShowClosingMessages(main, outcome);
    } catch (...) {
      // A message that cannot be shown must not keep the batch from ending.
    }
  }
  SetUploadInProgress(false);
  ::EnableWindow(::GetDlgItem(main, ids::kOkButton), TRUE);
  dialog_.UploadEnded();
}

bool BatchWindow::StillInSlot(size_t slot, const PhotoItem* item) const {
  return item && dialog_.view().SlotAt(slot) == item;
}

}  // namespace fernwick
