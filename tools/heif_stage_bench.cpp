// Where adding one HEIC photo spends its time, stage by stage, printed as "stage milliseconds"
// lines (the processor time, the mean of the runs): libheif's decoding to interleaved RGB, to its
// planes (libde265 and libheif's own conversion to planar RGB; the kernel's share apart), the
// program's whole decoding at full size and straight to the limit (DecodeHeif), resampling the
// full size to the limit, the JPEG copy with its EXIF and profile, and the thumbnail made from
// the copy's pixels. For a WebP photo: libwebp's decoding shrunk to the limit, single- and
// multi-threaded, the program's whole decoding (DecodeWebp), the copy and the thumbnail.
//   heif_stage_bench.exe FILE [LIMIT] [RUNS]
#include <windows.h>

#include <libheif/heif.h>
#include <webp/decode.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "base/text_936.h"
#include "imaging/core/copy_rules.h"
#include "imaging/core/pixel_store.h"
#include "imaging/core/resampler.h"
#include "imaging/file_bytes.h"
#include "imaging/heif_decoder.h"
#include "imaging/photo_item.h"
#include "imaging/upright_copies.h"
#include "imaging/webp_decoder.h"
#include "tools/bench_timing.h"
#include "tools/tool_host.h"

namespace {

using namespace fernwick;

// The thread's processor time in milliseconds, the mean of `runs` (-1 when the work fails): the
// machine may be busy with other work, and only what this thread spends is the stage's own cost.
// Wine counts it in whole ticks of 10 ms, so one run's figure is 0, 10 or 20 ms for a stage of
// 8: the mean over many runs is the stage's cost, a median of such figures is not.
double ProcessorMs(int runs, const std::function<bool()>& work, bool kernelOnly = false) {
  const double start = tools::ThreadSeconds(kernelOnly);
  for (int i = 0; i < runs; ++i) {
    if (!work()) return -1;
  }
  return runs > 0 ? (tools::ThreadSeconds(kernelOnly) - start) * 1000 / runs : 0;
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

// libwebp's decoding of a still WebP straight to `size`, BGRA, with its filtering thread or not,
// with its deblocking filter or not.
bool LibwebpDecodesScaled(const std::vector<uint8_t>& file, PixelSize size, bool threads, bool filter = true) {
  WebPDecoderConfig config;
  if (!WebPInitDecoderConfig(&config)) return false;
  config.options.bypass_filtering = filter ? 0 : 1;
  config.options.use_scaling = 1;
  config.options.scaled_width = static_cast<int>(size.width);
  config.options.scaled_height = static_cast<int>(size.height);
  config.options.use_threads = threads ? 1 : 0;
  config.output.colorspace = MODE_BGRA;
  const bool decoded = WebPDecode(file.data(), file.size(), &config) == VP8_STATUS_OK;
  WebPFreeDecBuffer(&config.output);
  return decoded;
}

// The copy at the limit's size (the decoders bring the pixels there) and its thumbnail.
int CopyStages(int runs, const DecodedPicture& atLimit) {
  std::optional<UprightCopy> copy;
  std::printf("copy-at-limit %.1f\n",
              ProcessorMs(runs, [&] { return (copy = UprightCopyOfDecoded(atLimit, std::nullopt)).has_value(); }));
  std::printf("copy-at-limit-kernel %.1f\n",
              ProcessorMs(
                  runs, [&] { return (copy = UprightCopyOfDecoded(atLimit, std::nullopt)).has_value(); }, true));
  if (!copy) return 1;
  // As the add makes it: the copy resampled to twice the thumbnail's box, then drawn by GDI+.
  const PixelBuffer& pixels = copy->pixels;
  std::printf("thumbnail %.1f\n", ProcessorMs(runs, [&] {
                const PixelSize twice = ScaledSize(pixels.width, pixels.height, 2 * kThumbnailBox);
                return PhotoItem(L"unused.jpg", ResamplePixels(pixels, twice.width, twice.height),
                                 static_cast<int32_t>(pixels.width), static_cast<int32_t>(pixels.height))
                           .DisplayedWidth() > 0;
              }));
  return 0;
}

int WebpStages(const std::vector<uint8_t>& file, int32_t limit, int runs) {
  int width = 0;
  int height = 0;
  if (!WebPGetInfo(file.data(), file.size(), &width, &height)) return 1;
  const auto w = static_cast<uint32_t>(width);
  const auto h = static_cast<uint32_t>(height);
  const PixelSize size = ExceedsLimit(w, h, limit) ? ScaledSize(w, h, limit) : PixelSize{w, h};
  std::printf("libwebp-scaled %.1f\n", ProcessorMs(runs, [&] { return LibwebpDecodesScaled(file, size, false); }));
  std::printf("libwebp-scaled-unfiltered %.1f\n",
              ProcessorMs(runs, [&] { return LibwebpDecodesScaled(file, size, false, false); }));
  // The filtering thread's time is not the calling thread's: this one is wall time.
  std::printf("libwebp-scaled-threads-wall %.1f\n",
              tools::MedianMs(runs, [&] { return LibwebpDecodesScaled(file, size, true); }));
  std::optional<DecodedPicture> decoded;
  std::printf("decode-webp-to-limit %.1f\n",
              ProcessorMs(runs, [&] { return (decoded = DecodeWebp(file, limit)).has_value(); }));
  std::printf("decode-webp-to-limit-kernel %.1f\n",
              ProcessorMs(
                  runs, [&] { return (decoded = DecodeWebp(file, limit)).has_value(); }, true));
  // As a worker decodes one photo after another: into the memory the last one left.
  const auto decodeKept = [&] {
    std::optional<DecodedPicture> picture = DecodeWebp(file, limit);
    if (picture) KeepPixelMemory(std::move(picture->pixels.pixels));
    return picture.has_value();
  };
  std::printf("decode-webp-kept-memory %.1f\n", ProcessorMs(runs, decodeKept));
  std::printf("decode-webp-kept-memory-kernel %.1f\n", ProcessorMs(runs, decodeKept, true));
  if (!decoded) return 1;
  return CopyStages(runs, *decoded);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  tools::ToolPlatform platform;
  const std::vector<uint8_t> file = ReadFileBytes(WideFrom936(argv[1])).value_or(std::vector<uint8_t>{});
  const int32_t limit = argc > 2 ? std::atoi(argv[2]) : 1024;
  const int runs = argc > 3 ? std::atoi(argv[3]) : 3;
  if (file.size() > 12 && std::equal(file.begin() + 8, file.begin() + 12, "WEBP")) return WebpStages(file, limit, runs);
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
  std::optional<DecodedPicture> atLimit;
  std::printf("decode-heif-to-limit %.1f\n",
              ProcessorMs(runs, [&] { return (atLimit = DecodeHeif(file, limit)).has_value(); }));
  if (!decoded || !atLimit) return 1;
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
  return CopyStages(runs, *atLimit);
}
