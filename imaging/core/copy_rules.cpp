#include "imaging/core/copy_rules.h"

#include <algorithm>

namespace fernwick {

bool ExceedsLimit(uint32_t width, uint32_t height, int32_t limit) noexcept {
  const auto unsignedLimit = static_cast<uint32_t>(limit);
  return width > unsignedLimit || height > unsignedLimit;
}

PixelSize ScaledSize(uint32_t width, uint32_t height, int32_t limit) noexcept {
  const auto target = static_cast<uint32_t>(limit);
  PixelSize size;
  if (width < height) {
    size.height = target;
    size.width = static_cast<uint32_t>(static_cast<double>(target) / static_cast<double>(height) * width);
  } else {
    size.width = target;
    size.height =
        width == 0 ? 0 : static_cast<uint32_t>(static_cast<double>(target) / static_cast<double>(width) * height);
  }
  size.width = std::max<uint32_t>(size.width, 1);
  size.height = std::max<uint32_t>(size.height, 1);
  return size;
}

uint32_t DecodeDenominatorFor(uint32_t width, uint32_t height, PixelSize wanted) noexcept {
  for (uint32_t denominator : {8u, 4u, 2u}) {
    const uint32_t across = width / denominator + (width % denominator != 0);
    const uint32_t down = height / denominator + (height % denominator != 0);
    if (across >= wanted.width && down >= wanted.height) {
      return denominator;
    }
  }
  return 1;
}

std::wstring WorkingCopyName(std::wstring_view directory, int32_t number) {
  std::wstring name(directory);
  name += std::to_wstring(number);
  name += L".jpg";
  return name;
}

}  // namespace fernwick
