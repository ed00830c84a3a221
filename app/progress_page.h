#pragma once
// The progress page of the upload wizard: the photo being sent, two bars and Cancel.
// Template IDD_PROGRESS.
//
// Everything here runs on the UI thread. Cancel goes to the upload session, whose flag cuts off
// the photo in flight at once; every other change to the page reaches it as a task on the UI
// thread.
#include <string>

#include "app/wizard_page.h"
#include "res/resource.h"

namespace fernwick {

class PhotoItem;
class UploadSession;

class ProgressPage : public WizardPage {
 public:
  static constexpr int kUpperBar = IDC_PROGRESS_UPPER_BAR;
  static constexpr int kOverallBar = IDC_PROGRESS_OVERALL_BAR;
  static constexpr int kCancelButton = IDC_PROGRESS_CANCEL;
  static constexpr int kStatusLine = IDC_PROGRESS_STATUS;
  // Where the thumbnail of the photo being sent is drawn, and the box it fits in.
  static constexpr int kThumbnailX = 194;
  static constexpr int kThumbnailY = 70;
  static constexpr int kThumbnailBox = 100;

  ProgressPage();

  // Both bars count thousandths: the upper one of the photo being sent, the overall one of the
  // batch's bytes.
  static constexpr int kShareScale = 1000;
  void ShowShares(int photoPermille, int batchPermille) noexcept;

  HWND upperBar() const noexcept { return upperBar_; }
  HWND overallBar() const noexcept { return overallBar_; }

  // The batch that Cancel stops; once it is cancelled the page draws no thumbnail.
  void SetSession(UploadSession* session) noexcept { session_ = session; }

  PhotoItem* currentItem() const noexcept { return currentItem_; }
  void SetCurrentItem(PhotoItem* item) noexcept { currentItem_ = item; }
  // Sets the photo being sent and draws its thumbnail with the next paint. Only the thumbnail's
  // place is drawn again, not the whole page: the bars and the status line draw themselves.
  void ShowCurrentItem(PhotoItem* item) noexcept;

  const std::wstring& statusText() const noexcept { return statusText_; }
  // Sets statusText and transfers it to kStatusLine; a failed transfer beeps and focuses the line.
  void ShowStatus(std::wstring text);

 protected:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  LRESULT OnInitDialog();
  void OnPaint();

  HWND upperBar_ = nullptr;
  HWND overallBar_ = nullptr;
  std::wstring statusText_;
  UploadSession* session_ = nullptr;  // not owned
  PhotoItem* currentItem_ = nullptr;  // not owned
};

}  // namespace fernwick
