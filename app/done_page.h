#pragma once
// The last page of the upload wizard: the photos are online; view them or go back.
// A borderless child dialog (template 207) of the main window, created hidden when the main
// window initialises and centred over its client area; only its visibility changes after.
#include <windows.h>

#include "controls/dialog_base.h"

namespace fernwick {

class DonePage : public DialogBase {
 public:
  // Creates the page hidden as a child of `mainWindow`; false when the template fails.
  bool Create(HWND mainWindow);

 protected:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace fernwick
