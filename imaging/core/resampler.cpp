#include "imaging/core/resampler.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "imaging/core/pixel_store.h"

namespace fernwick {

// For every output position along one side: the first source position it reads and one weight
// per source position from there. Made once per side, so the passes only add up. The weights
// of a position are stored as an even number (the last one 0 when count is odd): the vector
// code across takes them two at a time.
struct Taps {
  std::vector<uint32_t> first;
  uint32_t count = 0;            // weights per output position (the rest of a row are zeros)
  uint32_t stored = 0;           // count rounded up to even
  std::vector<int16_t> weights;  // `stored` per output position
};

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

Taps MakeTaps(uint32_t from, uint32_t to) {
  const double scale = static_cast<double>(from) / to;
  // Shrinking widens the filter to cover each output pixel's whole area; enlarging does not.
  const double stretch = std::max(1.0, scale);
  const double reach = kLobes * stretch;
  Taps taps;
  taps.count = std::min<uint32_t>(from, static_cast<uint32_t>(std::ceil(reach)) * 2 + 1);
  taps.stored = (taps.count + 1) / 2 * 2;
  taps.first.resize(to);
  taps.weights.assign(size_t{to} * taps.stored, 0);
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
    int16_t* weights = &taps.weights[size_t{i} * taps.stored];
    int32_t total = 0;
    uint32_t largest = 0;
    for (uint32_t k = 0; k < taps.count; ++k) {
      weights[k] = static_cast<int16_t>(std::lround(raw[k] / sum * (1 << kWeightBits)));
      total += weights[k];
      if (weights[k] > weights[largest]) largest = k;
    }
    // Rounding must not brighten or darken a flat area.
    weights[largest] = static_cast<int16_t>(weights[largest] + (1 << kWeightBits) - total);
    taps.first[i] = static_cast<uint32_t>(start);
  }
  return taps;
}

// Down: one output row from `down.count` source rows, into values with kMiddleBits more
// precision; the pass that runs over the larger picture. The values from `from` on, one at a time.
constexpr int kDownShift = kWeightBits - kMiddleBits;
constexpr int32_t kMiddleMax = 255 << kMiddleBits;

// `rows` are the `down.count` source rows output row y reads, first to last.
void ResampleDownFrom(size_t from, size_t length, const uint8_t* const* rows, const Taps& down, uint32_t y,
                      int16_t* out) {
  const int16_t* weights = &down.weights[size_t{y} * down.stored];
  for (size_t i = from; i < length; ++i) {
    int32_t sum = 1 << (kDownShift - 1);
    for (uint32_t k = 0; k < down.count; ++k) sum += weights[k] * rows[k][i];
    out[i] = static_cast<int16_t>(std::clamp(sum >> kDownShift, 0, kMiddleMax));
  }
}

#if defined(__SSE2__)
// Sixteen values a step, the sums kept in registers: two source rows interleaved so that one
// multiply-add weighs both.
void ResampleDown(const uint8_t* const* rows, const Taps& down, uint32_t y, size_t length, int16_t* out) {
  const int16_t* weights = &down.weights[size_t{y} * down.stored];
  const __m128i zero = _mm_setzero_si128();
  const __m128i rounding = _mm_set1_epi32(1 << (kDownShift - 1));
  const __m128i highest = _mm_set1_epi16(static_cast<int16_t>(kMiddleMax));
  size_t i = 0;
  for (; i + 16 <= length; i += 16) {
    __m128i sums[4] = {rounding, rounding, rounding, rounding};
    for (uint32_t k = 0; k < down.stored; k += 2) {
      const uint8_t* upper = rows[k] + i;
      // An odd count's last pair has a weight of 0 for a row that may not exist.
      const uint8_t* lower = k + 1 < down.count ? rows[k + 1] + i : upper;
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower));
      const __m128i aLow = _mm_unpacklo_epi8(a, zero), aHigh = _mm_unpackhi_epi8(a, zero);
      const __m128i bLow = _mm_unpacklo_epi8(b, zero), bHigh = _mm_unpackhi_epi8(b, zero);
      int32_t pair;
      std::memcpy(&pair, weights + k, sizeof(pair));
      const __m128i weight = _mm_set1_epi32(pair);
      sums[0] = _mm_add_epi32(sums[0], _mm_madd_epi16(_mm_unpacklo_epi16(aLow, bLow), weight));
      sums[1] = _mm_add_epi32(sums[1], _mm_madd_epi16(_mm_unpackhi_epi16(aLow, bLow), weight));
      sums[2] = _mm_add_epi32(sums[2], _mm_madd_epi16(_mm_unpacklo_epi16(aHigh, bHigh), weight));
      sums[3] = _mm_add_epi32(sums[3], _mm_madd_epi16(_mm_unpackhi_epi16(aHigh, bHigh), weight));
    }
    for (int half = 0; half < 2; ++half) {
      const __m128i values = _mm_packs_epi32(_mm_srai_epi32(sums[half * 2], kDownShift),
                                             _mm_srai_epi32(sums[half * 2 + 1], kDownShift));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + half * 8),
                       _mm_min_epi16(_mm_max_epi16(values, zero), highest));
    }
  }
  ResampleDownFrom(i, length, rows, down, y, out);
}
#else
void ResampleDown(const uint8_t* const* rows, const Taps& down, uint32_t y, size_t length, int16_t* out) {
  ResampleDownFrom(0, length, rows, down, y, out);
}
#endif

// Across: one row of middle values to the output. The row must be readable for
// kMiddlePadding values past its end: the last pixel is read as four values, and the pairs of
// weights may reach one pixel further (with a weight of 0).
constexpr size_t kMiddlePadding = 8;

#if defined(__SSE2__)
// One output pixel a step: its channels side by side in one register, two source pixels
// interleaved so that one multiply-add weighs both. A fourth channel of a 3-byte pixel reads the
// next pixel's first value and is dropped.
template <uint32_t kChannels>
void ResampleAcross(const int16_t* row, const Taps& across, uint32_t width, uint8_t* out) {
  constexpr int kShift = kWeightBits + kMiddleBits;
  const __m128i rounding = _mm_set1_epi32(1 << (kShift - 1));
  for (uint32_t x = 0; x < width; ++x) {
    const int16_t* in = row + size_t{across.first[x]} * kChannels;
    const int16_t* weights = &across.weights[size_t{x} * across.stored];
    __m128i sums = rounding;
    for (uint32_t k = 0; k < across.stored; k += 2) {
      const __m128i first = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + k * kChannels));
      const __m128i second = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + (k + 1) * kChannels));
      int32_t pair;
      std::memcpy(&pair, weights + k, sizeof(pair));
      sums = _mm_add_epi32(sums, _mm_madd_epi16(_mm_unpacklo_epi16(first, second), _mm_set1_epi32(pair)));
    }
    // Shifted down, then packed with saturation: the clamp to 0..255 comes with the packing.
    const __m128i values = _mm_srai_epi32(sums, kShift);
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(values, values), values);
    const auto pixel = static_cast<uint32_t>(_mm_cvtsi128_si32(bytes));
    std::memcpy(out + size_t{x} * kChannels, &pixel, kChannels);
  }
}
#else
// The channel count is fixed so that the inner loops unroll.
template <uint32_t kChannels>
void ResampleAcross(const int16_t* row, const Taps& across, uint32_t width, uint8_t* out) {
  constexpr int kShift = kWeightBits + kMiddleBits;
  for (uint32_t x = 0; x < width; ++x) {
    const int16_t* in = row + size_t{across.first[x]} * kChannels;
    const int16_t* weights = &across.weights[size_t{x} * across.stored];
    int32_t sums[kChannels];
    for (uint32_t c = 0; c < kChannels; ++c) sums[c] = 1 << (kShift - 1);
    for (uint32_t k = 0; k < across.count; ++k) {
      for (uint32_t c = 0; c < kChannels; ++c) sums[c] += weights[k] * in[k * kChannels + c];
    }
    for (uint32_t c = 0; c < kChannels; ++c) {
      out[size_t{x} * kChannels + c] = static_cast<uint8_t>(std::clamp(sums[c] >> kShift, 0, 255));
    }
  }
}
#endif

// One output row from the source rows it reads: down into `middle`, then across into `out`.
void ResampleRow(const uint8_t* const* rows, const Taps& down, const Taps& across, uint32_t y, uint32_t channels,
                 std::vector<int16_t>& middle, uint8_t* out) {
  ResampleDown(rows, down, y, middle.size() - kMiddlePadding, middle.data());
  if (channels == 4) {
    ResampleAcross<4>(middle.data(), across, static_cast<uint32_t>(across.first.size()), out);
  } else {
    ResampleAcross<3>(middle.data(), across, static_cast<uint32_t>(across.first.size()), out);
  }
}

}  // namespace

PixelBuffer ResamplePixels(const PixelBuffer& source, uint32_t width, uint32_t height) {
  if (width == 0 || height == 0 || source.width == 0 || source.height == 0) return {};
  const uint32_t channels = source.bytesPerPixel;
  const Taps across = MakeTaps(source.width, width);
  const Taps down = MakeTaps(source.height, height);

  // Down first, a row of the middle picture at a time and straight on across: the middle row
  // stays in the cache, and the cheaper direction for vector code gets the larger picture.
  std::vector<int16_t> middle(size_t{source.width} * channels + kMiddlePadding);
  std::vector<const uint8_t*> rows(down.count);
  PixelBuffer out = PixelBuffer::Blank(width, height, channels);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t k = 0; k < down.count; ++k) rows[k] = source.At(0, down.first[y] + k);
    ResampleRow(rows.data(), down, across, y, channels, middle, out.At(0, y));
  }
  return out;
}

RowResampler::RowResampler(uint32_t sourceWidth, uint32_t sourceHeight, uint32_t channels, uint32_t width,
                           uint32_t height) {
  if (width == 0 || height == 0 || sourceWidth == 0 || sourceHeight == 0 || (channels != 3 && channels != 4)) return;
  across_ = std::make_unique<Taps>(MakeTaps(sourceWidth, width));
  down_ = std::make_unique<Taps>(MakeTaps(sourceHeight, height));
  channels_ = channels;
  sourceHeight_ = sourceHeight;
  rowBytes_ = size_t{sourceWidth} * channels;
  window_.resize(rowBytes_ * down_->count);
  rows_.resize(down_->count);
  middle_.resize(rowBytes_ + kMiddlePadding);
  // Every pixel of it is written, a row at a time.
  out_ = ReusedPixelBuffer(width, height, channels);
}

RowResampler::~RowResampler() = default;

uint8_t* RowResampler::NextSourceRow() noexcept {
  if (!across_ || added_ >= sourceHeight_) return nullptr;
  return window_.data() + added_ % down_->count * rowBytes_;
}

void RowResampler::AddSourceRow() noexcept {
  if (!across_ || added_ >= sourceHeight_) return;
  ++added_;
  // An output row is made once the last source row it reads is here; the rows it reads before
  // that are still in the window, as no output row reads back further than the window's height.
  const Taps& down = *down_;
  while (made_ < out_.height && down.first[made_] + down.count <= added_) {
    for (uint32_t k = 0; k < down.count; ++k) {
      rows_[k] = window_.data() + (down.first[made_] + k) % down.count * rowBytes_;
    }
    ResampleRow(rows_.data(), down, *across_, made_, channels_, middle_, out_.At(0, made_));
    ++made_;
  }
}

PixelBuffer RowResampler::Take() {
  if (!across_ || made_ < out_.height) return {};
  across_.reset();
  return std::move(out_);
}

}  // namespace fernwick
