#include "imaging/core/resampler.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

namespace fernwick {

namespace {

// Weights are whole numbers that add up to 1 << kWeightBits; the pass between the two
// directions keeps kMiddleBits more than 8 bits of each value.
constexpr int kWeightBits = 14;
constexpr int kMiddleBits = 6;
constexpr double kLobes = 3.0;

double Lanczos(double x) {
  x = std::abs(x);
  if (x < 1e-9) return 1.0;
  if (x >= kLobes) return 0.0;
  const double px = std::numbers::pi * x;
  return kLobes * std::sin(px) * std::sin(px / kLobes) / (px * px);
}

// For every output position along one side: the first source position it reads and one weight
// per source position from there. Made once per side, so the passes only add up.
struct Taps {
  std::vector<uint32_t> first;
  uint32_t count = 0;             // weights per output position (the rest of a row are zeros)
  std::vector<int32_t> weights;   // count per output position
};

Taps MakeTaps(uint32_t from, uint32_t to) {
  const double scale = static_cast<double>(from) / to;
  // Shrinking widens the filter to cover each output pixel's whole area; enlarging does not.
  const double stretch = std::max(1.0, scale);
  const double reach = kLobes * stretch;
  Taps taps;
  taps.count = std::min<uint32_t>(from, static_cast<uint32_t>(std::ceil(reach)) * 2 + 1);
  taps.first.resize(to);
  taps.weights.assign(size_t{to} * taps.count, 0);
  std::vector<double> raw(taps.count);
  for (uint32_t i = 0; i < to; ++i) {
    const double centre = (i + 0.5) * scale - 0.5;
    const auto lowest = static_cast<int64_t>(std::floor(centre - reach)) + 1;
    const int64_t start = std::clamp<int64_t>(lowest, 0, from - taps.count);
    double sum = 0;
    for (uint32_t k = 0; k < taps.count; ++k) {
      raw[k] = Lanczos((static_cast<double>(start + k) - centre) / stretch);
      sum += raw[k];
    }
    int32_t* weights = &taps.weights[size_t{i} * taps.count];
    int32_t total = 0;
    uint32_t largest = 0;
    for (uint32_t k = 0; k < taps.count; ++k) {
      weights[k] = static_cast<int32_t>(std::lround(raw[k] / sum * (1 << kWeightBits)));
      total += weights[k];
      if (weights[k] > weights[largest]) largest = k;
    }
    // Rounding must not brighten or darken a flat area.
    weights[largest] += (1 << kWeightBits) - total;
    taps.first[i] = static_cast<uint32_t>(start);
  }
  return taps;
}

// One row across; the channel count is fixed so that the inner loops unroll.
template <uint32_t kChannels>
void ResampleRow(const uint8_t* row, const Taps& across, uint32_t width, int16_t* out) {
  constexpr int32_t kMiddleMax = 255 << kMiddleBits;
  constexpr int kShift = kWeightBits - kMiddleBits;
  for (uint32_t x = 0; x < width; ++x) {
    const uint8_t* in = row + size_t{across.first[x]} * kChannels;
    const int32_t* weights = &across.weights[size_t{x} * across.count];
    int32_t sums[kChannels];
    for (uint32_t c = 0; c < kChannels; ++c) sums[c] = 1 << (kShift - 1);
    for (uint32_t k = 0; k < across.count; ++k) {
      for (uint32_t c = 0; c < kChannels; ++c) sums[c] += weights[k] * in[k * kChannels + c];
    }
    for (uint32_t c = 0; c < kChannels; ++c) {
      out[size_t{x} * kChannels + c] = static_cast<int16_t>(std::clamp(sums[c] >> kShift, 0, kMiddleMax));
    }
  }
}

}  // namespace

PixelBuffer ResamplePixels(const PixelBuffer& source, uint32_t width, uint32_t height) {
  if (width == 0 || height == 0 || source.width == 0 || source.height == 0) return {};
  const uint32_t channels = source.bytesPerPixel;
  const Taps across = MakeTaps(source.width, width);
  const Taps down = MakeTaps(source.height, height);

  // Across first, every source row, into values with kMiddleBits more precision.
  const size_t middleRow = size_t{width} * channels;
  std::vector<int16_t> middle(middleRow * source.height);
  for (uint32_t y = 0; y < source.height; ++y) {
    if (channels == 4) {
      ResampleRow<4>(source.At(0, y), across, width, &middle[middleRow * y]);
    } else {
      ResampleRow<3>(source.At(0, y), across, width, &middle[middleRow * y]);
    }
  }

  // Then down, one output row at a time.
  PixelBuffer out = PixelBuffer::Blank(width, height, channels);
  constexpr int kDownShift = kWeightBits + kMiddleBits;
  std::vector<int32_t> sums(middleRow);
  for (uint32_t y = 0; y < height; ++y) {
    std::fill(sums.begin(), sums.end(), 1 << (kDownShift - 1));
    const int32_t* weights = &down.weights[size_t{y} * down.count];
    for (uint32_t k = 0; k < down.count; ++k) {
      const int32_t weight = weights[k];
      if (weight == 0) continue;
      const int16_t* in = &middle[middleRow * (down.first[y] + k)];
      for (size_t i = 0; i < middleRow; ++i) sums[i] += weight * in[i];
    }
    uint8_t* row = out.At(0, y);
    for (size_t i = 0; i < middleRow; ++i) row[i] = static_cast<uint8_t>(std::clamp(sums[i] >> kDownShift, 0, 255));
  }
  return out;
}

}  // namespace fernwick
