#include "app/progress_page.h"

#include "app/main_window_ids.h"

namespace fernwick {

ProgressPage::ProgressPage() noexcept : WizardPage(ids::kProgressPage) {}

}  // namespace fernwick
