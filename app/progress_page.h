#pragma once
// The progress page of the upload wizard: the photo being sent, two bars and Cancel.
// A borderless child dialog (template 206) of the main window, created hidden when the main
// window initialises and centred over its client area; only its visibility changes after.
#include <windows.h>

#include "controls/dialog_base.h"

namespace fernwick {

class ProgressPage : public DialogBase {
 public:
  // Creates the page hidden as a child of `mainWindow`; false when the template fails.
  bool Create(HWND mainWindow);

 protected:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace fernwick
