#pragma once
// The last page of the upload wizard: the photos are online; view them or go back.
// Template IDD_DONE.
#include <string>

#include "app/wizard_page.h"
#include "controls/hyperlink_control.h"
#include "res/resource.h"

namespace fernwick {

class MainDialog;

class DonePage : public WizardPage {
 public:
  static constexpr int kViewPhotosButton = IDC_DONE_VIEW_PHOTOS;
  static constexpr int kBackButton = IDC_DONE_BACK;
  static constexpr int kViewLink = IDC_DONE_VIEW_LINK;

  DonePage() noexcept;

  // The main window the page leads back to; set when the pages are made.
  void SetOwner(MainDialog* owner) noexcept { owner_ = owner; }
  MainDialog* owner() const noexcept { return owner_; }
  // The hidden link that opens the batch address; never seen.
  const HyperLinkControl& viewLink() const noexcept { return viewLink_; }

  // View photos: opens the newest ids' batch address, then goes back.
  void ViewPhotos();
  // Back: the main window's photo list again.
  void Back();

 protected:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  MainDialog* owner_ = nullptr;
  HyperLinkControl viewLink_;
};

}  // namespace fernwick
