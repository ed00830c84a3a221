#include "imaging/webp_decoder.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "base/log.h"
#include "imaging/core/copy_rules.h"
#include "imaging/core/heif_webp_header.h"
#include "imaging/core/picture_header.h"
#include "imaging/core/pixel_store.h"

namespace fernwick {

namespace {

struct DemuxDelete {
  void operator()(WebPDemuxer* demux) const noexcept { WebPDemuxDelete(demux); }
};

// The iterators hold nothing of their own once released; they are released on every way out.
struct FrameIterator {
  WebPIterator iterator{};
  ~FrameIterator() { WebPDemuxReleaseIterator(&iterator); }
};
struct ChunkIterator {
  WebPChunkIterator iterator{};
  ~ChunkIterator() { WebPDemuxReleaseChunkIterator(&iterator); }
};

std::vector<uint8_t> ChunkOf(const WebPDemuxer* demux, const char* fourcc) {
  ChunkIterator chunk;
  if (!WebPDemuxGetChunk(demux, fourcc, 1, &chunk.iterator)) return {};
  return std::vector<uint8_t>(chunk.iterator.chunk.bytes, chunk.iterator.chunk.bytes + chunk.iterator.chunk.size);
}

// Blue, green, red, alpha (not premultiplied) drawn over white at (left, top) of the canvas.
void CompositeOnWhite(const std::vector<uint8_t>& bgra, uint32_t width, uint32_t height, uint32_t left, uint32_t top,
                      PixelBuffer& canvas) {
  for (uint32_t y = 0; y < height && top + y < canvas.height; ++y) {
    const uint8_t* from = bgra.data() + std::size_t{y} * width * 4;
    uint8_t* to = canvas.At(left, top + y);
    for (uint32_t x = 0; x < width && left + x < canvas.width; ++x, from += 4, to += 3) {
      const uint32_t alpha = from[3];
      for (int c = 0; c < 3; ++c) to[c] = static_cast<uint8_t>((from[c] * alpha + 255 * (255 - alpha) + 127) / 255);
    }
  }
}

}  // namespace

std::optional<DecodedPicture> DecodeWebp(std::span<const uint8_t> file, std::optional<int32_t> limit) {
  const WebPData data{file.data(), file.size()};
  std::unique_ptr<WebPDemuxer, DemuxDelete> demux(WebPDemux(&data));
  if (!demux) {
    LogFailure("WebP: the file cannot be read");
    return std::nullopt;
  }
  const uint32_t canvasWidth = WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH);
  const uint32_t canvasHeight = WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT);
  if (canvasWidth == 0 || canvasHeight == 0 || uint64_t{canvasWidth} * canvasHeight > kMostPicturePixels) {
    return std::nullopt;
  }
  FrameIterator frame;
  if (!WebPDemuxGetFrame(demux.get(), 1, &frame.iterator)) {
    LogFailure("WebP: the file has no frame");
    return std::nullopt;
  }
  const WebPIterator& first = frame.iterator;
  auto width = static_cast<uint32_t>(first.width);
  auto height = static_cast<uint32_t>(first.height);
  if (width == 0 || height == 0) return std::nullopt;

  WebPDecoderConfig config;
  if (!WebPInitDecoderConfig(&config)) return std::nullopt;
  // Only a frame that is the whole canvas is shrunk: one placed on a larger canvas (an
  // animation's) would need its place scaled as well, and is rare enough to take the long way.
  const bool wholeCanvas = width == canvasWidth && height == canvasHeight && first.x_offset == 0 && first.y_offset == 0;
  uint32_t outWidth = canvasWidth;
  uint32_t outHeight = canvasHeight;
  if (limit && wholeCanvas && ExceedsLimit(width, height, *limit)) {
    const PixelSize scaled = ScaledSize(width, height, *limit);
    config.options.use_scaling = 1;
    config.options.scaled_width = static_cast<int>(scaled.width);
    config.options.scaled_height = static_cast<int>(scaled.height);
    width = outWidth = scaled.width;
    height = outHeight = scaled.height;
  }
  DecodedPicture picture;
  // Every pixel is written below: by the library, or white before a frame is drawn over it.
  picture.pixels = ReusedPixelBuffer(outWidth, outHeight, 3);
  // An opaque frame that is the whole canvas is decoded straight into the picture (most photos):
  // a frame with alpha, or one placed on a larger canvas, is decoded to its own BGRA pixels and
  // drawn over white.
  const bool straight = wholeCanvas && !first.has_alpha;
  std::vector<uint8_t> bgra(straight ? 0 : std::size_t{width} * height * 4);
  config.output.colorspace = straight ? MODE_BGR : MODE_BGRA;
  config.output.is_external_memory = 1;
  config.output.u.RGBA.rgba = straight ? picture.pixels.pixels.data() : bgra.data();
  config.output.u.RGBA.stride = static_cast<int>(straight ? picture.pixels.stride : width * 4);
  config.output.u.RGBA.size = straight ? picture.pixels.pixels.size() : bgra.size();
  const VP8StatusCode status = WebPDecode(first.fragment.bytes, first.fragment.size, &config);
  WebPFreeDecBuffer(&config.output);
  if (status != VP8_STATUS_OK) {
    LogSystemFailure("WebP: the first frame cannot be decoded", static_cast<unsigned long>(status));
    return std::nullopt;
  }
  if (!straight) {
    std::fill(picture.pixels.pixels.begin(), picture.pixels.pixels.end(), uint8_t{255});
    CompositeOnWhite(bgra, width, height, static_cast<uint32_t>(first.x_offset), static_cast<uint32_t>(first.y_offset),
                     picture.pixels);
  }
  picture.exif = ExifPayloadFromWebpChunk(ChunkOf(demux.get(), "EXIF"));
  picture.icc = ChunkOf(demux.get(), "ICCP");
  return picture;
}

}  // namespace fernwick
