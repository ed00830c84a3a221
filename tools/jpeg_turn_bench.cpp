// Figures for turning a 4000 x 3000 JPEG a quarter turn, printed as "name value" lines for
// scripts/bench-jpeg-turn.sh: without decoding (libjpeg-turbo's lossless transform), by the
// program's own turn at upload, through GDI+ as photos were turned before (decode, turn, encode
// at quality 90), and through libjpeg-turbo decoding and encoding. Each from the file on disk to the file on disk.
// The turn is anticlockwise: 3000 is no multiple of 16, so with 4:2:0 chroma a clockwise turn
// would move the partial bottom blocks to the left edge, which the lossless transform refuses
// (printed as lossless-clockwise-possible 0).
//   jpeg_turn_bench.exe DIR
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "base/text_936.h"
#include "imaging/file_bytes.h"
#include "imaging/jpeg_codec.h"
#include "imaging/jpeg_transform.h"
#include "imaging/picture_io.h"
#include "imaging/upright_copies.h"
#include "tools/bench_timing.h"
#include "tools/tool_host.h"

namespace {

using namespace fernwick;

using tools::MedianMs;

std::vector<uint8_t> ReadFile(const std::wstring& path) { return ReadFileBytes(path).value_or(std::vector<uint8_t>{}); }

bool WriteFile(const std::wstring& path, const std::vector<uint8_t>& bytes) { return WriteFileBytes(path, bytes); }

// A photo-like picture: smooth light with grain, which JPEG compresses about as it does a
// camera's picture (a clean synthetic scene would compress far better).
PixelBuffer PhotoLikePicture(uint32_t width, uint32_t height) {
  PixelBuffer picture = PixelBuffer::Blank(width, height, 3);
  uint32_t noise = 12345;
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      noise = noise * 1103515245u + 12345u;
      const int grain = static_cast<int>((noise >> 16) % 25) - 12;
      uint8_t* p = picture.At(x, y);
      p[0] = static_cast<uint8_t>(std::clamp(int(60 + 140 * y / height) + grain, 0, 255));
      p[1] = static_cast<uint8_t>(std::clamp(int(90 + 100 * x / width) + grain, 0, 255));
      p[2] = static_cast<uint8_t>(std::clamp(int(200 - 120 * (x + y) / (width + height)) + grain, 0, 255));
    }
  }
  return picture;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: jpeg_turn_bench DIR\n");
    return 2;
  }
  const std::wstring dir = WideFrom936(argv[1]);
  tools::ToolPlatform platform;
  const std::wstring original = dir + L"\\original.jpg";
  const std::optional<std::vector<uint8_t>> encoded = EncodeJpeg(PhotoLikePicture(4000, 3000), {}, 90);
  if (!encoded || !WriteFile(original, *encoded)) return 1;

  const std::wstring lossless = dir + L"\\lossless.jpg";
  const double losslessMs = MedianMs(5, [&] {
    const std::optional<std::vector<uint8_t>> turned =
        TransformJpeg(ReadFile(original), PixelTransform::kRotate270, {});
    return turned && WriteFile(lossless, *turned);
  });

  // The program's own turn at upload: the upright copy of the JPEG turned by the user's quarter
  // turn, metadata carried, lossless where the edges allow.
  const std::wstring program = dir + L"\\program.jpg";
  const double programMs = MedianMs(5, [&] {
    const std::optional<std::vector<uint8_t>> turned = UprightCopyOfJpeg(ReadFile(original), 270, std::nullopt);
    return turned && WriteFile(program, *turned);
  });

  const std::wstring gdiplus = dir + L"\\gdiplus.jpg";
  const double gdiplusMs = MedianMs(3, [&] {
    const GpBitmapPtr picture = DecodePicture(original);
    return picture && TurnPictureClockwise(picture.get(), 270) && SaveJpegWithQuality(picture.get(), gdiplus, 90);
  });

  const std::wstring reencoded = dir + L"\\reencoded.jpg";
  const double reencodeMs = MedianMs(3, [&] {
    const std::optional<PixelBuffer> pixels = DecodeJpeg(ReadFile(original));
    if (!pixels) return false;
    const std::optional<std::vector<uint8_t>> turned =
        EncodeJpeg(TransformPixels(*pixels, PixelTransform::kRotate270), {}, 90);
    return turned && WriteFile(reencoded, *turned);
  });

  std::printf("original-bytes %zu\n", encoded->size());
  std::printf("lossless-clockwise-possible %d\n", TransformJpeg(*encoded, PixelTransform::kRotate90, {}) ? 1 : 0);
  std::printf("lossless-ms %.1f\nlossless-bytes %zu\n", losslessMs, ReadFile(lossless).size());
  std::printf("program-ms %.1f\nprogram-bytes %zu\n", programMs, ReadFile(program).size());
  std::printf("gdiplus-ms %.1f\ngdiplus-bytes %zu\n", gdiplusMs, ReadFile(gdiplus).size());
  std::printf("libjpeg-reencode-ms %.1f\nlibjpeg-reencode-bytes %zu\n", reencodeMs, ReadFile(reencoded).size());
  return 0;
}
