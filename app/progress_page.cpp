#include "app/progress_page.h"

#include <commctrl.h>

#include "res/main_window_ids.h"
#include "base/handles.h"
#include "imaging/core/photo_geometry.h"
#include "imaging/photo_item.h"
#include "upload/upload_session.h"
#include "base/log.h"

namespace fernwick {

ProgressPage::ProgressPage() : WizardPage(ids::kProgressPage) {}

std::optional<LRESULT> ProgressPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      WizardPage::OnMessage(message, wParam, lParam);
      return OnInitDialog();
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) != kCancelButton) break;
      // The photo in flight is cut off at once and stays in the list; no more are sent.
      if (session_) session_->Cancel();
      return 0;
    default:
      break;
  }
  return WizardPage::OnMessage(message, wParam, lParam);
}

LRESULT ProgressPage::OnInitDialog() {
  upperBar_ = Item(kUpperBar);
  overallBar_ = Item(kOverallBar);
  ShowStatus(statusText_);
  for (HWND bar : {upperBar_, overallBar_}) ::SendMessageW(bar, PBM_SETRANGE32, 0, kShareScale);
  currentItem_ = nullptr;
  return TRUE;
}

void ProgressPage::ShowShares(int photoPermille, int batchPermille) noexcept {
  ::SendMessageW(upperBar_, PBM_SETPOS, static_cast<WPARAM>(photoPermille), 0);
  ::SendMessageW(overallBar_, PBM_SETPOS, static_cast<WPARAM>(batchPermille), 0);
}

void ProgressPage::ShowCurrentItem(PhotoItem* item) noexcept {
  currentItem_ = item;
  if (!hwnd()) return;
  // The frame of a square thumbnail is the largest any photo gets.
  const FrameRect frame = FitIntoBox(kThumbnailBox, kThumbnailBox, kThumbnailX, kThumbnailY, kThumbnailBox).outline;
  const RECT area{frame.left, frame.top, frame.right, frame.bottom};
  ::InvalidateRect(hwnd(), &area, TRUE);
}

void ProgressPage::ShowStatus(std::wstring text) {
  statusText_ = std::move(text);
  if (!::SetDlgItemTextW(hwnd(), kStatusLine, statusText_.c_str())) {
    ::MessageBeep(0xFFFFFFFF);
    ::SetFocus(Item(kStatusLine));
  }
}

void ProgressPage::OnPaint() {
  PaintDc paint(hwnd());
  if (!currentItem_ || (session_ && session_->cancelRequested())) return;
  try {
    currentItem_->DrawFitted(paint.get(), kThumbnailX, kThumbnailY, kThumbnailBox);
  } catch (...) {
    LogCaughtException("progress page thumbnail");
    // A photo that cannot be drawn is dropped from the page for the rest of its send.
    currentItem_ = nullptr;
  }
}

}  // namespace fernwick
