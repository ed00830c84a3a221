#pragma once
// The photo-settings page of the upload wizard: the tags and the visibility of the batch.
// Template 203.
#include "app/wizard_page.h"

namespace fernwick {

class PhotoSettingsPage : public WizardPage {
 public:
  PhotoSettingsPage() noexcept;
};

}  // namespace fernwick
