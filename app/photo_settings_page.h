#pragma once
// The photo-settings page of the upload wizard: the tags and the visibility of the batch.
// Template IDD_PHOTO_SETTINGS.
#include <string>

#include "app/wizard_page.h"
#include "res/resource.h"

namespace fernwick {

class PhotoSettingsPage : public WizardPage {
 public:
  static constexpr int kTagsEdit = IDC_PHOTO_TAGS;
  static constexpr int kFirstVisibilityRadio = IDC_PHOTO_PUBLIC;  // public; then friends only, private
  static constexpr int kTagsLimit = 400;

  PhotoSettingsPage() noexcept;

  // The page's one transfer: with `save`, the controls into tags and visibilityIndex;
  // otherwise the members into the controls.
  void Transfer(bool save);

  const std::wstring& tags() const noexcept { return tags_; }
  void SetTags(std::wstring tags) { tags_ = std::move(tags); }
  // 0 public, 1 friends only, 2 private; -1 when no radio is checked.
  int visibilityIndex() const noexcept { return visibilityIndex_; }
  void SetVisibilityIndex(int index) noexcept { visibilityIndex_ = index; }

 protected:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::wstring tags_;
  int visibilityIndex_ = 0;
};

// The radio group that starts at `first`: `first` and its following siblings up to, not
// including, the next window with WS_GROUP, counting only those that say DLGC_RADIOBUTTON.
// Loading checks the button at `index` and unchecks the others; saving returns the position of
// the last checked button, -1 when none is.
void LoadRadioGroup(HWND first, int index);
int SaveRadioGroup(HWND first);

}  // namespace fernwick
