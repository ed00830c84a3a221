#include "app/progress_page.h"

#include "app/main_window_ids.h"

namespace fernwick {

bool ProgressPage::Create(HWND mainWindow) { return CreateModeless(ids::kProgressPage, mainWindow) != nullptr; }

std::optional<LRESULT> ProgressPage::OnMessage(UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    CenterWindowOver(hwnd(), ::GetParent(hwnd()));
    return TRUE;
  }
  return std::nullopt;
}

}  // namespace fernwick
