#pragma once
// Where the main window puts its movable children for a given client size, and the outline
// of the tab it paints behind the toolbar and the thumbnails. Pixels, client coordinates.
#include <array>

namespace fernwick {

struct LayoutRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const LayoutRect&) const = default;
};

struct MainLayout {
  LayoutRect upload;         // 1008
  LayoutRect back;           // 1011, the same place as Upload
  LayoutRect ok;             // 1017
  LayoutRect quotaLine;      // 1009
  LayoutRect photoSiteLink;  // 1025
  LayoutRect view;           // the thumbnail view
  // Between the photo-site link and Upload, while photos are being added.
  LayoutRect addingText;  // 1030
  LayoutRect addingBar;   // 1031
  LayoutRect addingStop;  // 1032
};

MainLayout ComputeMainLayout(int clientWidth, int clientHeight) noexcept;

// The smallest outer size the user can shrink the main window to.
inline constexpr int kMinTrackWidth = 395;
inline constexpr int kMinTrackHeight = 440;

// The thumbnail view starts below the toolbar and leaves room for the buttons below it.
inline constexpr int kViewTop = 75;
inline constexpr int kViewBottomMargin = 72;

// Where the logo is drawn: `right` is the client width.
inline LayoutRect LogoRect(int right) noexcept { return {right - 145, 12, 111, 39}; }

struct LayoutPoint {
  int x = 0;
  int y = 0;
  bool operator==(const LayoutPoint&) const = default;
};

// The tab: its upper edge carries the toolbar and slants down to the thumbnail area; its body
// frames the thumbnails down to just below the view.
std::array<LayoutPoint, 6> TabFramePoints(int right, int bottom) noexcept;

}  // namespace fernwick
