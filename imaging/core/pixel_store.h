#pragma once
// The memory of the last picture a thread finished with, kept for its next one. Under Wine a
// block of megabytes is mapped afresh for every picture and each of its pages faulted in, which
// the kernel makes slow: a WebP photo decoded to 1024 pixels spends about 5 ms of its 80 in the
// kernel, most of it on its 2.4 MB of fresh pixels; a camera JPEG of 4000 x 3000 spent about 18 ms
// of its 88 on fresh pages for its 3.5 MB file and its pixels. Pages kept are the process's already.
// One block a thread for the pixels and one for the file's bytes, each at most kMostKeptPixelBytes,
// and let go once the thread has nothing left to make: memory stays bounded by the adding workers.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/core/pixel_buffer.h"

namespace fernwick {

inline constexpr std::size_t kMostKeptPixelBytes = std::size_t{8} << 20;

// A picture of this size in the memory this thread kept last, or in new memory when that is too
// small. Its pixels hold whatever was there (the caller writes every one); the padding at the end
// of each row is zero, as in a blank picture.
PixelBuffer ReusedPixelBuffer(uint32_t width, uint32_t height, uint32_t bytesPerPixel);
// Keeps `pixels`' memory for this thread's next ReusedPixelBuffer, unless it holds more than
// kMostKeptPixelBytes.
void KeepPixelMemory(std::vector<uint8_t> pixels) noexcept;

// The same for the bytes of a picture's file, which are held while its pixels are made: empty,
// with the capacity this thread kept last.
std::vector<uint8_t> ReusedFileMemory() noexcept;
void KeepFileMemory(std::vector<uint8_t> bytes) noexcept;

// Lets go of the memory this thread kept, for a thread that has no picture left to make.
void ReleaseKeptMemory() noexcept;

}  // namespace fernwick
