#pragma once
// A colour space's primaries and white point, and the matrix they give from linear red, green,
// blue to CIE XYZ: what a YCbCr matrix derived from the primaries and an ICC profile made for a
// file that names only its primaries both start from.
#include <array>
#include <optional>

namespace fernwick {

// The x and y chromaticities of a colour space's red, green and blue primaries and white point.
struct Chromaticities {
  double redX, redY, greenX, greenY, blueX, blueY, whiteX, whiteY;
};

// Rows X, Y, Z; columns red, green, blue; white (1, 1, 1) maps to the white point with Y 1.
// None when the primaries are degenerate (on one line, or a y of 0).
using Matrix3 = std::array<std::array<double, 3>, 3>;
std::optional<Matrix3> RgbToXyz(const Chromaticities& space);

}  // namespace fernwick
