#pragma once
// The browser's link colours from the current user's Internet Explorer settings.
#include <windows.h>

namespace fernwick {

inline constexpr COLORREF kDefaultLinkColour = RGB(0, 0, 255);
inline constexpr COLORREF kDefaultVisitedColour = RGB(128, 0, 128);
inline constexpr char kBrowserSettingsKey[] = "Software\\Microsoft\\Internet Explorer\\Settings";

struct LinkColours {
  COLORREF link = kDefaultLinkColour;
  COLORREF visited = kDefaultVisitedColour;
};

// "Anchor Color" and "Anchor Color Visited"; each value that is missing or malformed keeps its
// default.
LinkColours ReadBrowserLinkColours();

}  // namespace fernwick
