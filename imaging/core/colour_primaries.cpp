#include "imaging/core/colour_primaries.h"

#include <cmath>

namespace fernwick {

namespace {

std::optional<Matrix3> Inverse(const Matrix3& m) {
  const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                     m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                     m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  if (std::fabs(det) < 1e-12) return std::nullopt;
  Matrix3 inverse;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      // The cofactor of (c, r), divided by the determinant.
      const int r1 = (c + 1) % 3, r2 = (c + 2) % 3, c1 = (r + 1) % 3, c2 = (r + 2) % 3;
      inverse[r][c] = (m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1]) / det;
    }
  }
  return inverse;
}

}  // namespace

Matrix3 Product(const Matrix3& a, const Matrix3& b) {
  Matrix3 product{};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      for (int k = 0; k < 3; ++k) product[r][c] += a[r][k] * b[k][c];
    }
  }
  return product;
}

std::optional<Matrix3> AdaptationToD50(double whiteX, double whiteY) {
  if (whiteY <= 0) return std::nullopt;
  static constexpr Matrix3 kBradford{{{0.8951, 0.2664, -0.1614}, {-0.7502, 1.7135, 0.0367}, {0.0389, -0.0685, 1.0296}}};
  const std::optional<Matrix3> back = Inverse(kBradford);
  if (!back) return std::nullopt;
  const double source[3] = {whiteX / whiteY, 1, (1 - whiteX - whiteY) / whiteY};
  const double d50[3] = {0.9642, 1.0, 0.8249};
  Matrix3 scale{};
  for (int i = 0; i < 3; ++i) {
    const double from = kBradford[i][0] * source[0] + kBradford[i][1] * source[1] + kBradford[i][2] * source[2];
    const double to = kBradford[i][0] * d50[0] + kBradford[i][1] * d50[1] + kBradford[i][2] * d50[2];
    scale[i][i] = to / from;
  }
  return Product(*back, Product(scale, kBradford));
}

std::optional<Matrix3> RgbToXyz(const Chromaticities& s) {
  if (s.redY <= 0 || s.greenY <= 0 || s.blueY <= 0 || s.whiteY <= 0) return std::nullopt;
  const double xy[3][2] = {{s.redX, s.redY}, {s.greenX, s.greenY}, {s.blueX, s.blueY}};
  Matrix3 primaries;
  for (int c = 0; c < 3; ++c) {
    primaries[0][c] = xy[c][0] / xy[c][1];
    primaries[1][c] = 1;
    primaries[2][c] = (1 - xy[c][0] - xy[c][1]) / xy[c][1];
  }
  const std::optional<Matrix3> inverse = Inverse(primaries);
  if (!inverse) return std::nullopt;
  const double white[3] = {s.whiteX / s.whiteY, 1, (1 - s.whiteX - s.whiteY) / s.whiteY};
  // Each primary's column scaled so that the three add up to the white point.
  Matrix3 result = primaries;
  for (int c = 0; c < 3; ++c) {
    const double scale = (*inverse)[c][0] * white[0] + (*inverse)[c][1] * white[1] + (*inverse)[c][2] * white[2];
    for (int r = 0; r < 3; ++r) result[r][c] *= scale;
  }
  return result;
}

}  // namespace fernwick
