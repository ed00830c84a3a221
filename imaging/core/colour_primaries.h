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

// The Bradford adaptation from colours seen under the white point (x, y) to how they look under
// D50, the white of every ICC profile's connection space. None for a white with y of 0.
std::optional<Matrix3> AdaptationToD50(double whiteX, double whiteY);

Matrix3 Product(const Matrix3& a, const Matrix3& b);

}  // namespace fernwick
