#include "app/done_page.h"

#include "app/main_window_ids.h"

namespace fernwick {

DonePage::DonePage() noexcept : WizardPage(ids::kDonePage) {}

}  // namespace fernwick
