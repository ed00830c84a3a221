#include "imaging/core/pixel_store.h"

#include <algorithm>
#include <utility>

namespace fernwick {

namespace {
thread_local std::vector<uint8_t> kept;
thread_local std::vector<uint8_t> keptFile;
}  // namespace

PixelBuffer ReusedPixelBuffer(uint32_t width, uint32_t height, uint32_t bytesPerPixel) {
  PixelBuffer picture = PixelBuffer::Shaped(width, height, bytesPerPixel);
  const std::size_t bytes = std::size_t{picture.stride} * height;
  picture.pixels = std::exchange(kept, {});
  // Too small a block is not grown: growing would copy its old pixels into the new memory.
  if (picture.pixels.capacity() < bytes) picture.pixels = std::vector<uint8_t>(bytes);
  picture.pixels.resize(bytes);
  const std::size_t row = std::size_t{width} * bytesPerPixel;
  for (uint32_t y = 0; y < height && row < picture.stride; ++y) {
    std::fill(picture.At(0, y) + row, picture.At(0, y) + picture.stride, uint8_t{0});
  }
  return picture;
}

void KeepPixelMemory(std::vector<uint8_t> pixels) noexcept {
  if (pixels.capacity() <= kMostKeptPixelBytes) kept = std::move(pixels);
}

std::vector<uint8_t> ReusedFileMemory() noexcept {
  std::vector<uint8_t> bytes = std::exchange(keptFile, {});
  bytes.clear();
  return bytes;
}

void KeepFileMemory(std::vector<uint8_t> bytes) noexcept {
  if (bytes.capacity() <= kMostKeptPixelBytes) keptFile = std::move(bytes);
}

void ReleaseKeptMemory() noexcept {
  // Not `= {}`, which would only empty them and keep their memory.
  kept = std::vector<uint8_t>();
  keptFile = std::vector<uint8_t>();
}

}  // namespace fernwick
