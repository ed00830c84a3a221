#include "app/core/window_states.h"

#include <gtest/gtest.h>

#include <string>

namespace fernwick {
namespace {

// Each state as the user sees it: one letter a part in StatePart order (view, Add, Delete,
// Rotate left, Rotate right, Settings, Upload, user line, photo-site link, settings page, OK,
// Back, progress page, done page), 'x' shown, '.' hidden.
struct StateCase {
  WindowState state;
  const char* shown;
  StateFocus focus;
};
// clang-format off
const StateCase kCases[] = {
  {WindowState::kPhotoList,     "xxxxxxxxx.....", StateFocus::kUploadButton},
  {WindowState::kPhotoSettings, ".........xxx..", StateFocus::kOkButton},
  {WindowState::kProgress,      "............x.", StateFocus::kProgressCancel},
  {WindowState::kDone,          ".............x", StateFocus::kDoneViewPhotos},
};
// clang-format on

std::string Shown(const WindowStateLook& look) {
  std::string text;
  for (size_t part = 0; part < kStatePartCount; ++part) text += look.Shows(static_cast<StatePart>(part)) ? 'x' : '.';
  return text;
}

TEST(WindowStates, EachStateShowsItsPartsAndFocusesOneOfThem) {
  for (const StateCase& c : kCases) {
    const WindowStateLook& look = LookOf(c.state);
    const int state = static_cast<int>(c.state);
    EXPECT_EQ(Shown(look), c.shown) << "state " << state;
    EXPECT_EQ(look.focus, c.focus) << "state " << state;
    // Upload and Back share one place on screen.
    EXPECT_FALSE(look.Shows(StatePart::kUploadButton) && look.Shows(StatePart::kBackButton)) << "state " << state;
    EXPECT_EQ(look.shown >> kStatePartCount, 0u) << "no bits beyond the parts";
  }
}

}  // namespace
}  // namespace fernwick
