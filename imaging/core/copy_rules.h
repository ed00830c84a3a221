#pragma once
// Sizes and names of the JPEG working copies.
#include <cstdint>
#include <string>
#include <string_view>

namespace fernwick {

struct PixelSize {
  uint32_t width = 0;
  uint32_t height = 0;
  bool operator==(const PixelSize&) const = default;
};

// True when either side is larger than the limit; the limit is compared as unsigned.
bool ExceedsLimit(uint32_t width, uint32_t height, int32_t limit) noexcept;

// The longer side becomes the limit, the shorter one limit / longer * shorter, truncated
// (a square takes the landscape branch). A side that would be 0 gets 1 pixel, so that a very
// long, thin picture still has a working copy.
PixelSize ScaledSize(uint32_t width, uint32_t height, int32_t limit) noexcept;

// The largest of 8, 4, 2 and 1 by which a JPEG of stored width x height may be shrunk while
// decoding (sides rounding up, as the library does) so that the result still covers `wanted`
// on both sides: the rest of the way is a resampler's, which has more to work with than the
// library's shrinking would leave.
uint32_t DecodeDenominatorFor(uint32_t width, uint32_t height, PixelSize wanted) noexcept;

// "<directory><number>.jpg"; the directory ends with a backslash.
std::wstring WorkingCopyName(std::wstring_view directory, int32_t number);

}  // namespace fernwick
