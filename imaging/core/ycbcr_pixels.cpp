#include "imaging/core/ycbcr_pixels.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace fernwick {

std::optional<YCbCrMatrix> MatrixForCodePoint(uint16_t matrixCoefficients, bool fullRange,
                                              const std::optional<Chromaticities>& primaries) {
  YCbCrMatrix matrix;
  matrix.fullRange = fullRange;
  switch (matrixCoefficients) {
    case 0:
      matrix.identity = true;
      break;
    case 1:
      matrix.kr = 0.2126, matrix.kb = 0.0722;
      break;
    case 4:
      matrix.kr = 0.30, matrix.kb = 0.11;
      break;
    case 7:
      matrix.kr = 0.212, matrix.kb = 0.087;
      break;
    case 9:
    case 10:
      matrix.kr = 0.2627, matrix.kb = 0.0593;
      break;
    case 12:
    case 13:
      // The luma weights are the primaries' own luminances.
      if (const std::optional<Matrix3> toXyz = primaries ? RgbToXyz(*primaries) : std::nullopt) {
        matrix.kr = (*toXyz)[1][0], matrix.kb = (*toXyz)[1][2];
      }
      break;
    case 8:
    case 11:
    case 14:
      return std::nullopt;
    default:  // 5 and 6 are BT.601; 2 (unspecified) and unknown codes decode as it
      break;
  }
  return matrix;
}

namespace {

uint32_t Log2(uint32_t powerOfTwo) {
  uint32_t bits = 0;
  while ((1u << bits) < powerOfTwo) ++bits;
  return bits;
}

// One plane's samples summed over blocks of 2^blockBits columns and the rows [row0, row1):
// `sums` holds one total per block, `counts` how many samples each took.
template <typename Sample>
void SumBlocks(const uint8_t* plane, int stride, uint32_t width, uint32_t row0, uint32_t row1, uint32_t blockBits,
               std::vector<uint32_t>& sums, std::vector<float>& inverseCounts) {
  std::fill(sums.begin(), sums.end(), 0u);
  for (uint32_t y = row0; y < row1; ++y) {
    const auto* row = reinterpret_cast<const Sample*>(plane + static_cast<std::ptrdiff_t>(y) * stride);
    for (uint32_t x = 0; x < width; ++x) sums[x >> blockBits] += row[x];
  }
  const uint32_t block = 1u << blockBits;
  for (size_t i = 0; i < sums.size(); ++i) {
    const uint32_t columns = std::min(block, width - static_cast<uint32_t>(i) * block);
    inverseCounts[i] = 1.0f / static_cast<float>(columns * (row1 - row0));
  }
}

// Averages in YCbCr are the averages the RGB pixels would have had (the conversion is linear),
// clipping aside: shrinking first costs one conversion for every output pixel instead of
// `denominator` squared, and each sample is read once, row after row.
template <typename Sample>
PixelBuffer Convert(const YCbCrPlanes& p, const YCbCrMatrix& m, uint32_t denominator) {
  const uint32_t bits = Log2(denominator);
  const uint32_t width = (p.width + denominator - 1) >> bits;
  const uint32_t height = (p.height + denominator - 1) >> bits;
  PixelBuffer out = PixelBuffer::Blank(width, height, 3);
  const bool colour = p.cb && p.cr;
  // A chroma block covers as many of its samples as the luma block does of its own, at least one;
  // with fewer luma pixels than a chroma sample spans, neighbours share it, as unshrunk.
  const uint32_t chromaWidth = (p.width + (1u << p.chromaShiftX) - 1) >> p.chromaShiftX;
  const uint32_t chromaHeight = (p.height + (1u << p.chromaShiftY) - 1) >> p.chromaShiftY;
  const uint32_t chromaBits = bits > p.chromaShiftX ? bits - p.chromaShiftX : 0;
  const uint32_t chromaRowBits = bits > p.chromaShiftY ? bits - p.chromaShiftY : 0;
  // Output column x takes chroma block (x << bits >> chromaShiftX) >> chromaBits.
  const uint32_t chromaShift = p.chromaShiftX + chromaBits - bits;

  const float top = std::ldexp(1.0f, static_cast<int>(p.bitDepth));
  const float unit = std::ldexp(1.0f, static_cast<int>(p.bitDepth) - 8);  // one 8-bit step
  // Luma and chroma as fractions of 255 (luma 0 to 255, chroma -127.5 to 127.5).
  const float yOffset = m.fullRange ? 0 : 16 * unit;
  const float yScale = m.identity || m.fullRange ? 255 / (top - 1) : 255 / (219 * unit);
  const float cOffset = m.identity ? 0 : top / 2;
  const float cScale = m.identity || m.fullRange ? 255 / (top - 1) : 255 / (224 * unit);
  const float kr = static_cast<float>(m.kr), kb = static_cast<float>(m.kb), kg = 1 - kr - kb;
  const float rCr = 2 * (1 - kr), bCb = 2 * (1 - kb);
  const float gCb = -bCb * kb / kg, gCr = -rCr * kr / kg;
  const auto byte = [](float v) { return static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f) + 0.5f); };

  std::vector<uint32_t> ySums(width), cbSums, crSums;
  std::vector<float> yInverse(width), cInverse;
  if (colour) {
    const size_t blocks = ((chromaWidth - 1) >> chromaBits) + 1;
    cbSums.resize(blocks), crSums.resize(blocks), cInverse.resize(blocks);
  }
  std::vector<float> luma(width);
  for (uint32_t oy = 0; oy < height; ++oy) {
    const uint32_t y0 = oy << bits, y1 = std::min(y0 + denominator, p.height);
    SumBlocks<Sample>(p.y, p.yStride, p.width, y0, y1, bits, ySums, yInverse);
    for (uint32_t x = 0; x < width; ++x) luma[x] = (static_cast<float>(ySums[x]) * yInverse[x] - yOffset) * yScale;
    uint8_t* to = out.At(0, oy);
    if (!colour) {
      for (uint32_t x = 0; x < width; ++x, to += 3) to[0] = to[1] = to[2] = byte(luma[x]);
      continue;
    }
    const uint32_t cy0 = (y0 >> p.chromaShiftY) >> chromaRowBits << chromaRowBits;
    const uint32_t cy1 = std::min(cy0 + (1u << chromaRowBits), chromaHeight);
    SumBlocks<Sample>(p.cb, p.cbStride, chromaWidth, cy0, cy1, chromaBits, cbSums, cInverse);
    SumBlocks<Sample>(p.cr, p.crStride, chromaWidth, cy0, cy1, chromaBits, crSums, cInverse);
    for (uint32_t x = 0; x < width; ++x, to += 3) {
      const uint32_t c = x >> chromaShift;
      const float cb = (static_cast<float>(cbSums[c]) * cInverse[c] - cOffset) * cScale;
      const float cr = (static_cast<float>(crSums[c]) * cInverse[c] - cOffset) * cScale;
      if (m.identity) {  // green, blue, red as they are
        to[0] = byte(cb), to[1] = byte(luma[x]), to[2] = byte(cr);
        continue;
      }
      to[0] = byte(luma[x] + bCb * cb);
      to[1] = byte(luma[x] + gCb * cb + gCr * cr);
      to[2] = byte(luma[x] + rCr * cr);
    }
  }
  return out;
}

}  // namespace

PixelBuffer BgrFromYCbCr(const YCbCrPlanes& planes, const YCbCrMatrix& matrix, uint32_t denominator) {
  if (!planes.y || planes.width == 0 || planes.height == 0 || (denominator & (denominator - 1)) != 0 ||
      denominator == 0 || denominator > 8 || planes.bitDepth < 8 || planes.bitDepth > 16 || planes.chromaShiftX > 1 ||
      planes.chromaShiftY > planes.chromaShiftX) {
    return {};
  }
  return planes.bitDepth == 8 ? Convert<uint8_t>(planes, matrix, denominator)
                              : Convert<uint16_t>(planes, matrix, denominator);
}

}  // namespace fernwick
