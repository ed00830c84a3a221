#pragma once
// What the three upload wizard pages share: each is a borderless child dialog of the main
// window, created hidden from its own template when the main window initialises, centred over
// the main window's client area; only its visibility changes after that.
#include <windows.h>

#include "controls/dialog_base.h"

namespace fernwick {

class WizardPage : public DialogBase {
 public:
  // Creates the page hidden as a child of `mainWindow`; false when the template fails.
  bool Create(HWND mainWindow);

 protected:
  explicit WizardPage(int templateId) noexcept : templateId_(templateId) {}
  // WM_INITDIALOG centres the page over its parent; a page that handles more calls this first.
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  int templateId_;
};

}  // namespace fernwick
