#pragma once
// Pixel figures of the program are written for a 96-DPI screen; on a 150 % or 200 % screen
// they are scaled to the window's DPI here, so that nothing is stretched by the system.
#include <cstdint>

namespace fernwick {

inline constexpr int kBaseDpi = 96;

// `pixels` at 96 DPI, at `dpi`: rounded to the nearest pixel, halves away from zero, as MulDiv
// rounds, so that a figure and its negative scale to the same size.
constexpr int ScaleForDpi(int pixels, int dpi) noexcept {
  const int64_t product = static_cast<int64_t>(pixels) * dpi;
  const int64_t half = kBaseDpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / kBaseDpi : -((-product + half) / kBaseDpi));
}

// The bitmaps are drawn at 100 %, 150 % and 200 %; resource.h numbers the 150 % and 200 %
// drawings of bitmap N as N + 100 and N + 200. The drawing nearest to `dpi` is used: a
// screen between two sizes gets the nearer one rather than always the smaller.
constexpr int BitmapIdForDpi(int id, int dpi) noexcept {
  if (dpi >= (144 + 192) / 2) return id + 200;
  if (dpi >= (96 + 144) / 2) return id + 100;
  return id;
}

}  // namespace fernwick
