#pragma once
// Shrinking (or enlarging) a decoded picture with a separable Lanczos-3 filter whose width
// follows the scale, so that every source pixel counts for the area it covers: what working
// copies are scaled with after the JPEG library's own 1/2, 1/4 or 1/8 decoding.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/core/pixel_buffer.h"

namespace fernwick {

// The picture at width x height, in the same pixel layout (3 or 4 bytes a pixel; the fourth byte
// is filtered like the others). An empty picture for a side of 0 or an empty source.
PixelBuffer ResamplePixels(const PixelBuffer& source, uint32_t width, uint32_t height);

struct Taps;

// The same resampling fed one source row at a time, top first, as a decoder makes them: it
// holds only the few source rows an output row reads, never the whole source picture, which for
// a photo decoded at 1/2 is 9 MB of memory to be fetched from the system, filled and read
// back once. The rows written must be complete before the next is asked for.
class RowResampler {
 public:
  // An empty result (Take) for a side of 0 or another pixel layout than 3 or 4 bytes.
  RowResampler(uint32_t sourceWidth, uint32_t sourceHeight, uint32_t channels, uint32_t width, uint32_t height);
  ~RowResampler();
  RowResampler(const RowResampler&) = delete;
  RowResampler& operator=(const RowResampler&) = delete;

  // Where the next source row goes (sourceWidth * channels bytes, no padding); null once every
  // source row is in, or when there is nothing to make.
  uint8_t* NextSourceRow() noexcept;
  // The row NextSourceRow gave is written: makes every output row that waited for it.
  void AddSourceRow() noexcept;
  // The picture at width x height once every source row is in; empty before, or after a Take.
  PixelBuffer Take();

 private:
  std::unique_ptr<Taps> across_;
  std::unique_ptr<Taps> down_;
  uint32_t channels_ = 0;
  uint32_t sourceHeight_ = 0;
  size_t rowBytes_ = 0;
  std::vector<uint8_t> window_;  // down's count of source rows, source row r at r % count
  std::vector<const uint8_t*> rows_;
  std::vector<int16_t> middle_;
  PixelBuffer out_;
  uint32_t added_ = 0;  // source rows in so far
  uint32_t made_ = 0;   // output rows made so far
};

}  // namespace fernwick
