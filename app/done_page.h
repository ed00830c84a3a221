#pragma once
// The last page of the upload wizard: the photos are online; view them or go back.
// Template 207.
#include "app/wizard_page.h"

namespace fernwick {

class DonePage : public WizardPage {
 public:
  DonePage() noexcept;
};

}  // namespace fernwick
