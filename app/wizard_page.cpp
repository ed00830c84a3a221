#include "app/wizard_page.h"

namespace fernwick {

bool WizardPage::Create(HWND mainWindow) { return CreateModeless(templateId_, mainWindow) != nullptr; }

std::optional<LRESULT> WizardPage::OnMessage(UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    CenterWindowOver(hwnd(), ::GetParent(hwnd()));
    return TRUE;
  }
  return std::nullopt;
}

}  // namespace fernwick
