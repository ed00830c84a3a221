// Where adding one HEIC photo spends its time, stage by stage, printed as "stage milliseconds"
// lines (the processor time of the median run): libheif's decoding to interleaved RGB, to its
// planes (libde265 and libheif's own conversion to planar RGB; the kernel's share apart), the
// program's whole decoding at full size and straight to the limit (DecodeHeif), resampling the
// full size to the limit, the JPEG copy with its EXIF and profile, and the thumbnail made from
// the copy's pixels.
//   heif_stage_bench.exe FILE [LIMIT] [RUNS]
#include <windows.h>

#include <libheif/heif.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "base/text_936.h"
#include "imaging/core/copy_rules.h"
#include "imaging/core/resampler.h"
#include "imaging/file_bytes.h"
#include "imaging/heif_decoder.h"
#include "imaging/photo_item.h"
#include "imaging/upright_copies.h"
#include "tools/bench_timing.h"
#include "tools/tool_host.h"

namespace {

using namespace fernwick;

// The thread's processor time in seconds: the machine may be busy with other work, and only
// what this thread spends is the stage's own cost.
double ProcessorMs(int runs, const std::function<bool()>& work, bool kernelOnly = false) {
  return tools::MedianMs(runs, work, [kernelOnly] { return tools::ThreadSeconds(kernelOnly); });
}

// libheif's decoding of the primary image into `colorspace` and `chroma`, timed from the bytes.
bool LibheifDecodes(const std::vector<uint8_t>& file, heif_colorspace colorspace, heif_chroma chroma) {
  heif_context* context = heif_context_alloc();
  heif_image_handle* handle = nullptr;
  heif_image* image = nullptr;
  heif_decoding_options* options = heif_decoding_options_alloc();
  options->convert_hdr_to_8bit = 1;
  bool decoded =
      heif_context_read_from_memory_without_copy(context, file.data(), file.size(), nullptr).code == heif_error_Ok &&
      heif_context_get_primary_image_handle(context, &handle).code == heif_error_Ok &&
      heif_decode_image(handle, &image, colorspace, chroma, options).code == heif_error_Ok;
  heif_image_release(image);
  heif_decoding_options_free(options);
  heif_image_handle_release(handle);
  heif_context_free(context);
  return decoded;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  tools::ToolPlatform platform;
  const std::vector<uint8_t> file = ReadFileBytes(WideFrom936(argv[1])).value_or(std::vector<uint8_t>{});
  const int32_t limit = argc > 2 ? std::atoi(argv[2]) : 1024;
  const int runs = argc > 3 ? std::atoi(argv[3]) : 3;
  std::printf("libheif-rgb %.1f\n", ProcessorMs(runs, [&] {
                return LibheifDecodes(file, heif_colorspace_RGB, heif_chroma_interleaved_RGB);
              }));
  std::printf("libheif-planes %.1f\n", ProcessorMs(runs, [&] {
                return LibheifDecodes(file, heif_colorspace_undefined, heif_chroma_undefined);
              }));
  std::printf("libheif-planes-kernel %.1f\n",
              ProcessorMs(
                  runs, [&] { return LibheifDecodes(file, heif_colorspace_undefined, heif_chroma_undefined); }, true));
  std::optional<DecodedPicture> decoded;
  std::printf("decode-heif-full-size %.1f\n",
              ProcessorMs(runs, [&] { return (decoded = DecodeHeif(file)).has_value(); }));
  std::printf("decode-heif-to-limit %.1f\n", ProcessorMs(runs, [&] { return DecodeHeif(file, limit).has_value(); }));
  if (!decoded) return 1;
  const PixelBuffer& full = decoded->pixels;
  const bool scale = ExceedsLimit(full.width, full.height, limit);
  const PixelSize size = scale ? ScaledSize(full.width, full.height, limit) : PixelSize{full.width, full.height};
  std::printf("decoded %ux%u\n", full.width, full.height);
  std::printf("resample %.1f\n",
              ProcessorMs(runs, [&] { return !ResamplePixels(full, size.width, size.height).pixels.empty(); }));
  std::optional<UprightCopy> copy;
  std::printf("copy-from-decoded %.1f\n", ProcessorMs(runs, [&] {
                return (copy = UprightCopyOfDecoded(*decoded, scale ? std::optional(limit) : std::nullopt)).has_value();
              }));
  if (!copy) return 1;
  std::printf("thumbnail %.1f\n",
              ProcessorMs(runs, [&] { return PhotoItem(L"unused.jpg", copy->pixels).DisplayedWidth() > 0; }));
  return 0;
}
