#pragma once
// Turning a video decoder's YCbCr planes (HEVC's: 8 to 16 bits a sample, chroma at full, half
// or quarter resolution) into the program's blue, green, red pixels, shrunk by a whole factor in
// the same pass: a 12-megapixel phone photo headed for a copy of 1024 pixels never exists as
// full-size RGB. The matrix and range are those the file's colour code points (nclx) name.
#include <cstdint>
#include <optional>

#include "imaging/core/colour_primaries.h"
#include "imaging/core/pixel_buffer.h"

namespace fernwick {

struct YCbCrMatrix {
  double kr = 0.299;  // BT.601, what a file that names no matrix is decoded with
  double kb = 0.114;
  bool fullRange = true;
  bool identity = false;  // the planes hold green, blue, red as they are
};

// The matrix of H.273's matrix_coefficients code point, those derived from the primaries (12
// and 13) from `primaries`. An unspecified or unknown code decodes as BT.601, as libheif does.
// None for a kind of YCbCr that is not a weighted sum of red, green and blue (YCgCo, ICtCp and
// the like).
std::optional<YCbCrMatrix> MatrixForCodePoint(uint16_t matrixCoefficients, bool fullRange,
                                              const std::optional<Chromaticities>& primaries);

struct YCbCrPlanes {
  uint32_t width = 0;  // the luma plane's
  uint32_t height = 0;
  uint32_t bitDepth = 8;      // 9 to 16: samples are 16-bit words in the machine's order
  uint32_t chromaShiftX = 1;  // 4:2:0: 1 and 1; 4:2:2: 1 and 0; 4:4:4: 0 and 0
  uint32_t chromaShiftY = 1;
  const uint8_t* y = nullptr;
  const uint8_t* cb = nullptr;  // null for a monochrome picture
  const uint8_t* cr = nullptr;
  int yStride = 0;  // bytes from one row to the next
  int cbStride = 0;
  int crStride = 0;
};

// The picture `denominator` (1, 2, 4 or 8) times smaller on each side, sides rounding up: each
// pixel the average of the luma and chroma samples its block covers (a chroma sample shared by
// more pixels at the full size, as without shrinking). 3 bytes a pixel. Empty for empty planes.
PixelBuffer BgrFromYCbCr(const YCbCrPlanes& planes, const YCbCrMatrix& matrix, uint32_t denominator);

}  // namespace fernwick
