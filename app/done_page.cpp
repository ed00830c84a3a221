#include "app/done_page.h"

#include "app/main_window_ids.h"

namespace fernwick {

bool DonePage::Create(HWND mainWindow) { return CreateModeless(ids::kDonePage, mainWindow) != nullptr; }

std::optional<LRESULT> DonePage::OnMessage(UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    CenterWindowOver(hwnd(), ::GetParent(hwnd()));
    return TRUE;
  }
  return std::nullopt;
}

}  // namespace fernwick
