#include "app/core/main_layout.h"

namespace fernwick {

MainLayout ComputeMainLayout(int cx, int cy, int dpi) noexcept {
  // Figures measured from the right or bottom edge are scaled as distances from that edge,
  // so that at any DPI the buttons keep their margins to the frame.
  const auto s = [dpi](int pixels) { return ScaleForDpi(pixels, dpi); };
  MainLayout layout;
  layout.upload = {cx - s(97), cy - s(51), s(75), s(24)};
  layout.back = layout.upload;
  layout.ok = {cx - s(190), cy - s(51), s(75), s(24)};
  layout.quotaLine = {s(10), cy - s(17), s(200), s(12)};
  layout.photoSiteLink = {s(12), cy - s(52), s(52), s(17)};
  const int top = s(kViewTop);
  layout.view = {0, top, cx, cy - top - s(kViewBottomMargin)};
  // Stop in Upload's row just left of it; the text above the bar in the room that is left.
  layout.addingStop = {cx - s(160), cy - s(51), s(55), s(24)};
  const int progressWidth = layout.addingStop.x - s(8) - s(72);
  layout.addingText = {s(72), cy - s(53), progressWidth, s(13)};
  layout.addingBar = {s(72), cy - s(37), progressWidth, s(10)};
  return layout;
}

LayoutPoint MinTrackSize(int dpi) noexcept {
  return {ScaleForDpi(kMinTrackWidth, dpi), ScaleForDpi(kMinTrackHeight, dpi)};
}

LayoutRect LogoRect(int right, int dpi) noexcept {
  const auto s = [dpi](int pixels) { return ScaleForDpi(pixels, dpi); };
  return {right - s(145), s(12), s(111), s(39)};
}

std::array<LayoutPoint, 6> TabFramePoints(int right, int bottom, int dpi) noexcept {
  const auto s = [dpi](int pixels) { return ScaleForDpi(pixels, dpi); };
  // The left edge lies one pixel outside the client area at every DPI, so that its line is
  // never drawn; the upper edge runs one pixel above the view and the lower one one pixel
  // below it, whatever the rounding of the view's own figures.
  const int upper = s(kViewTop) - 1;
  const int lower = bottom - s(kViewBottomMargin) + 1;
  return {{{-1, s(38)}, {s(195), s(38)}, {s(232), upper}, {right, upper}, {right, lower}, {-1, lower}}};
}

}  // namespace fernwick
