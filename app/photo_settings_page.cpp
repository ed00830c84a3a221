#include "app/photo_settings_page.h"

#include <vector>

#include "res/main_window_ids.h"

namespace fernwick {

namespace {
std::vector<HWND> RadioGroup(HWND first) {
  std::vector<HWND> radios;
  for (HWND window = first; window; window = ::GetWindow(window, GW_HWNDNEXT)) {
    if (window != first && (::GetWindowLongW(window, GWL_STYLE) & WS_GROUP)) break;
    if (::SendMessageW(window, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) radios.push_back(window);
  }
  return radios;
}
}  // namespace

void LoadRadioGroup(HWND first, int index) {
  int position = 0;
  for (HWND radio : RadioGroup(first)) {
    ::SendMessageW(radio, BM_SETCHECK, position == index ? BST_CHECKED : BST_UNCHECKED, 0);
    ++position;
  }
}

int SaveRadioGroup(HWND first) {
  int checked = -1;
  int position = 0;
  for (HWND radio : RadioGroup(first)) {
    if (::SendMessageW(radio, BM_GETCHECK, 0, 0) == BST_CHECKED) checked = position;
    ++position;
  }
  return checked;
}

PhotoSettingsPage::PhotoSettingsPage() noexcept : WizardPage(ids::kPhotoSettingsPage) {}

std::optional<LRESULT> PhotoSettingsPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG) return WizardPage::OnMessage(message, wParam, lParam);
  WizardPage::OnMessage(message, wParam, lParam);
  visibilityIndex_ = 0;
  tags_.clear();
  ::SendMessageW(Item(kTagsEdit), EM_LIMITTEXT, kTagsLimit, 0);
  Transfer(false);
  return TRUE;
}

void PhotoSettingsPage::Transfer(bool save) {
  HWND edit = Item(kTagsEdit);
  if (save) {
    const int length = ::GetWindowTextLengthW(edit);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(edit, text.data(), length + 1)));
    tags_ = std::move(text);
    visibilityIndex_ = SaveRadioGroup(Item(kFirstVisibilityRadio));
  } else {
    if (!::SetWindowTextW(edit, tags_.c_str())) {
      ::MessageBeep(0xFFFFFFFF);
      ::SetFocus(edit);
      return;
    }
    LoadRadioGroup(Item(kFirstVisibilityRadio), visibilityIndex_);
  }
}

}  // namespace fernwick
