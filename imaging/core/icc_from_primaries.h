#pragma once
// An ICC profile made for a picture whose colours a file names only by code points (a HEIC's
// nclx: primaries and transfer), so that its JPEG copy is shown in the colours it was taken in:
// without one, a Display P3 photo is shown as sRGB, washed out.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "imaging/core/colour_primaries.h"

namespace fernwick {

// A display profile (ICC 4.3, matrix and curves) with `space`'s primaries adapted to D50 and the
// curve of H.273's transfer_characteristics code point (sRGB's for 2, unspecified); `name` is
// its description. None for a transfer an ICC curve cannot hold (PQ, HLG and the like).
std::optional<std::vector<uint8_t>> IccProfileForPrimaries(const Chromaticities& space, uint16_t transfer,
                                                           std::string_view name);

}  // namespace fernwick
