#include "app/core/window_states.h"

#include <initializer_list>

namespace fernwick {

namespace {
constexpr unsigned Parts(std::initializer_list<StatePart> parts) {
  unsigned bits = 0;
  for (StatePart part : parts) bits |= 1u << static_cast<unsigned>(part);
  return bits;
}

using P = StatePart;
// In the order of WindowState.
constexpr WindowStateLook kLooks[] = {
    // photo list: the view with its toolbar, Upload, the user line and the photo-site link
    {Parts({P::kView, P::kAddButton, P::kDeleteButton, P::kRotateLeftButton, P::kRotateRightButton, P::kSettingsButton,
            P::kUploadButton, P::kCurrentUserLine, P::kPhotoSiteLink}),
     StateFocus::kUploadButton},
    // photo settings: the page with the main window's OK and Back below it
    {Parts({P::kSettingsPage, P::kOkButton, P::kBackButton}), StateFocus::kOkButton},
    {Parts({P::kProgressPage}), StateFocus::kProgressCancel},
    {Parts({P::kDonePage}), StateFocus::kDoneViewPhotos},
};
}  // namespace

const WindowStateLook& LookOf(WindowState state) noexcept { return kLooks[static_cast<size_t>(state)]; }

}  // namespace fernwick
