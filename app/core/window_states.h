#pragma once
// The main window's four states and what each shows: one table, read by the one function that
// switches states. The quota line shows in every state and is not listed.
#include <cstddef>

namespace fernwick {

enum class WindowState { kPhotoList, kPhotoSettings, kProgress, kDone };

// The windows that a state shows or hides.
enum class StatePart {
  kView,
  kAddButton,
  kDeleteButton,
  kRotateLeftButton,
  kRotateRightButton,
  kSettingsButton,
  kUploadButton,
  kCurrentUserLine,
  kPhotoSiteLink,
  kSettingsPage,
  kOkButton,
  kBackButton,
  kProgressPage,
  kDonePage,
};
inline constexpr size_t kStatePartCount = 14;

// Where the dialog focus goes when the state is entered.
enum class StateFocus { kUploadButton, kOkButton, kProgressCancel, kDoneViewPhotos };

struct WindowStateLook {
  unsigned shown;  // one bit per StatePart; every other part is hidden
  StateFocus focus;
  bool Shows(StatePart part) const noexcept { return (shown >> static_cast<unsigned>(part)) & 1u; }
};

const WindowStateLook& LookOf(WindowState state) noexcept;

}  // namespace fernwick
