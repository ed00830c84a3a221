#include "app/photo_settings_page.h"

#include "app/main_window_ids.h"

namespace fernwick {

PhotoSettingsPage::PhotoSettingsPage() noexcept : WizardPage(ids::kPhotoSettingsPage) {}

}  // namespace fernwick
