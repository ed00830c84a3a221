// The memory a thread keeps from one picture for the next.
#include <gtest/gtest.h>

#include "imaging/core/pixel_store.h"

namespace fernwick {
namespace {

TEST(PixelStore, NextPictureTakesTheKeptMemoryWithZeroPaddingUnlessTooLarge) {
  PixelBuffer first = ReusedPixelBuffer(1024, 768, 3);
  std::fill(first.pixels.begin(), first.pixels.end(), uint8_t{7});
  const uint8_t* memory = first.pixels.data();
  KeepPixelMemory(std::move(first.pixels));
  const PixelBuffer next = ReusedPixelBuffer(5, 4, 3);  // rows of 15 bytes padded to 16
  EXPECT_EQ(next.pixels.data(), memory);
  EXPECT_EQ(next.pixels.size(), 16u * 4);
  for (uint32_t y = 0; y < 4; ++y) EXPECT_EQ(next.At(0, y)[15], 0) << y;
  KeepPixelMemory(std::vector<uint8_t>(kMostKeptPixelBytes + 1));
  EXPECT_LT(ReusedPixelBuffer(1, 1, 3).pixels.capacity(), kMostKeptPixelBytes);
}

TEST(PixelStore, AFilesMemoryComesBackEmptyAndAllGoesOnceReleased) {
  std::vector<uint8_t> file(4096, 9);
  const uint8_t* memory = file.data();
  KeepFileMemory(std::move(file));
  KeepPixelMemory(ReusedPixelBuffer(64, 64, 3).pixels);
  const std::vector<uint8_t> reused = ReusedFileMemory();
  EXPECT_TRUE(reused.empty());
  EXPECT_EQ(reused.data(), memory);
  KeepFileMemory(std::vector<uint8_t>(4096));
  ReleaseKeptMemory();
  EXPECT_EQ(ReusedFileMemory().capacity(), 0u);
  EXPECT_LT(ReusedPixelBuffer(1, 1, 3).pixels.capacity(), 64u * 64 * 3);
}

}  // namespace
}  // namespace fernwick
