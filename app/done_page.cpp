#include "app/done_page.h"

#include "upload/core/upload_rules.h"
#include "app/main_dialog.h"
#include "res/main_window_ids.h"
#include "base/program_state.h"
#include "build_config.h"

namespace fernwick {

DonePage::DonePage() noexcept : WizardPage(ids::kDonePage) {}

std::optional<LRESULT> DonePage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      WizardPage::OnMessage(message, wParam, lParam);
      viewLink_.Attach(Item(kViewLink));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kViewPhotosButton) {
        ViewPhotos();
        return 0;
      }
      if (LOWORD(wParam) == kBackButton) {
        Back();
        return 0;
      }
      break;
    default:
      break;
  }
  return WizardPage::OnMessage(message, wParam, lParam);
}

void DonePage::ViewPhotos() {
  viewLink_.SetTarget(BatchViewAddress(build::kWebBase, UploadedPhotoIds()));
  viewLink_.Open();
  Back();
}

void DonePage::Back() {
  if (owner_) {
    owner_->EnterState(WindowState::kPhotoList);
  } else {
    ::ShowWindow(hwnd(), SW_HIDE);
  }
}

}  // namespace fernwick
