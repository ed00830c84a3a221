#pragma once
// Where the main window puts its movable children for a given client size, and the outline
// of the tab it paints behind the toolbar and the thumbnails. Pixels, client coordinates.
// The figures are those of a 96-DPI screen; every function takes the window's DPI and scales
// them (base/core/dpi_scale.h), so that at 96 DPI they are exactly the figures written here.
#include <array>

#include "base/core/dpi_scale.h"

namespace fernwick {

struct LayoutRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const LayoutRect&) const = default;
};

struct MainLayout {
  LayoutRect upload;         // IDC_MAIN_UPLOAD
  LayoutRect back;           // IDC_MAIN_BACK, the same place as Upload
  LayoutRect ok;             // IDC_MAIN_OK
  LayoutRect quotaLine;      // IDC_MAIN_QUOTA
  LayoutRect photoSiteLink;  // IDC_MAIN_PHOTO_SITE_LINK
  LayoutRect view;           // the thumbnail view
  // Between the photo-site link and Upload, while photos are being added.
  LayoutRect addingText;  // IDC_MAIN_ADDING_TEXT
  LayoutRect addingBar;   // IDC_MAIN_ADDING_BAR
  LayoutRect addingStop;  // IDC_MAIN_ADDING_STOP
};

MainLayout ComputeMainLayout(int clientWidth, int clientHeight, int dpi = kBaseDpi) noexcept;

// The five toolbar buttons, left to right (Add, Delete, Rotate left, Rotate right, Settings), in
// the dialog units of the window's template, not in pixels: the window maps them with its own
// font, as the dialog manager does, so they stand where the template puts them at every DPI and
// their lower edge meets the thumbnail view's upper one (with 宋体 9 pt, 39 x 36 pixels at 96 DPI).
inline constexpr int kToolbarButtonCount = 5;
inline constexpr std::array<LayoutRect, kToolbarButtonCount> kToolbarUnits = {
    {{4, 26, 26, 24}, {29, 26, 26, 24}, {54, 26, 26, 24}, {79, 26, 26, 24}, {104, 26, 26, 24}}};

// The smallest outer size the user can shrink the main window to, at 96 DPI.
inline constexpr int kMinTrackWidth = 395;
inline constexpr int kMinTrackHeight = 440;

struct LayoutPoint {
  int x = 0;
  int y = 0;
  bool operator==(const LayoutPoint&) const = default;
};

// The minimum track size at `dpi`.
LayoutPoint MinTrackSize(int dpi = kBaseDpi) noexcept;

// The thumbnail view starts below the toolbar and leaves room for the buttons below it.
inline constexpr int kViewTop = 75;
inline constexpr int kViewBottomMargin = 72;

// Where the logo is drawn: `right` is the client width.
LayoutRect LogoRect(int right, int dpi = kBaseDpi) noexcept;

// The tab: its upper edge carries the toolbar and slants down to the thumbnail area; its body
// frames the thumbnails down to just below the view.
std::array<LayoutPoint, 6> TabFramePoints(int right, int bottom, int dpi = kBaseDpi) noexcept;

}  // namespace fernwick
