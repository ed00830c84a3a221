#include "app/photo_settings_page.h"

#include "app/main_window_ids.h"

namespace fernwick {

bool PhotoSettingsPage::Create(HWND mainWindow) {
  return CreateModeless(ids::kPhotoSettingsPage, mainWindow) != nullptr;
}

std::optional<LRESULT> PhotoSettingsPage::OnMessage(UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    CenterWindowOver(hwnd(), ::GetParent(hwnd()));
    return TRUE;
  }
  return std::nullopt;
}

}  // namespace fernwick
