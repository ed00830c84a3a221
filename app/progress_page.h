#pragma once
// The progress page of the upload wizard: the photo being sent, two bars and Cancel.
// Template 206.
#include "app/wizard_page.h"

namespace fernwick {

class ProgressPage : public WizardPage {
 public:
  ProgressPage() noexcept;
};

}  // namespace fernwick
