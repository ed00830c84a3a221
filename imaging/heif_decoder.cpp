#include "imaging/heif_decoder.h"

#include <libheif/heif.h>

#include <algorithm>
#include <memory>

#include "base/log.h"
#include "imaging/core/copy_rules.h"
#include "imaging/core/heif_webp_header.h"
#include "imaging/core/icc_from_primaries.h"
#include "imaging/core/picture_header.h"
#include "imaging/core/resampler.h"
#include "imaging/core/ycbcr_pixels.h"

namespace fernwick {

namespace {

struct ContextFree {
  void operator()(heif_context* context) const noexcept { heif_context_free(context); }
};
struct HandleRelease {
  void operator()(heif_image_handle* handle) const noexcept { heif_image_handle_release(handle); }
};
struct ImageRelease {
  void operator()(heif_image* image) const noexcept { heif_image_release(image); }
};
struct NclxFree {
  void operator()(heif_color_profile_nclx* nclx) const noexcept { heif_nclx_color_profile_free(nclx); }
};
struct OptionsFree {
  void operator()(heif_decoding_options* options) const noexcept { heif_decoding_options_free(options); }
};

// A file libheif refuses is passed over like any damaged picture, with a line in the log.
bool Failed(const heif_error& error, LogText what) {
  if (error.code == heif_error_Ok) return false;
  LogSystemFailure(what, static_cast<unsigned long>(error.code) << 16 | static_cast<unsigned long>(error.subcode));
  return true;
}

std::vector<uint8_t> ExifOf(heif_image_handle* handle) {
  heif_item_id id = 0;
  if (heif_image_handle_get_list_of_metadata_block_IDs(handle, "Exif", &id, 1) < 1) return {};
  std::vector<uint8_t> item(heif_image_handle_get_metadata_size(handle, id));
  if (item.empty() ||
      Failed(heif_image_handle_get_metadata(handle, id, item.data()), "HEIF: its EXIF block cannot be read"))
    return {};
  return ExifPayloadFromHeifItem(item);
}

// The primaries a file's nclx code points name, as libheif reads them.
Chromaticities PrimariesOf(const heif_color_profile_nclx& nclx) {
  return {nclx.color_primary_red_x,  nclx.color_primary_red_y,  nclx.color_primary_green_x, nclx.color_primary_green_y,
          nclx.color_primary_blue_x, nclx.color_primary_blue_y, nclx.color_primary_white_x, nclx.color_primary_white_y};
}

// A profile made for colours given only as code points (nclx) whose primaries are not sRGB's:
// phones write Display P3 so, and a copy without a profile would be shown as sRGB, washed out.
// Attaching one keeps the pixels as decoded (converting to sRGB would cost a pass over them and
// clip the colours sRGB lacks). None for sRGB's primaries or unspecified ones.
std::vector<uint8_t> IccForNclx(heif_image_handle* handle) {
  heif_color_profile_nclx* nclx = nullptr;
  if (heif_image_handle_get_nclx_color_profile(handle, &nclx).code != heif_error_Ok || !nclx) return {};
  const std::unique_ptr<heif_color_profile_nclx, NclxFree> owned(nclx);
  if (nclx->color_primaries == heif_color_primaries_ITU_R_BT_709_5 ||
      nclx->color_primaries == heif_color_primaries_unspecified) {
    return {};
  }
  const char* name = nclx->color_primaries == heif_color_primaries_SMPTE_EG_432_1               ? "Display P3"
                     : nclx->color_primaries == heif_color_primaries_ITU_R_BT_2020_2_and_2100_0 ? "BT.2020"
                                                                                                : "RGB";
  std::optional<std::vector<uint8_t>> profile =
      IccProfileForPrimaries(PrimariesOf(*nclx), static_cast<uint16_t>(nclx->transfer_characteristics), name);
  if (!profile) {
    LogFailure("HEIF: its colours' transfer has no ICC curve; the copy is sent without a profile");
    return {};
  }
  return std::move(*profile);
}

// An ICC profile stored as such ("prof" or "rICC"), else one made for the code points (nclx).
std::vector<uint8_t> IccOf(heif_image_handle* handle) {
  const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
  if (type != heif_color_profile_type_prof && type != heif_color_profile_type_rICC) return IccForNclx(handle);
  std::vector<uint8_t> profile(heif_image_handle_get_raw_color_profile_size(handle));
  if (profile.empty() ||
      Failed(heif_image_handle_get_raw_color_profile(handle, profile.data()), "HEIF: its ICC profile cannot be read")) {
    return {};
  }
  return profile;
}

// The size the picture is brought to: the limit's, when it is over it.
PixelSize TargetSize(uint32_t width, uint32_t height, std::optional<int32_t> limit) {
  return limit && ExceedsLimit(width, height, *limit) ? ScaledSize(width, height, *limit) : PixelSize{width, height};
}

// The colour code points the decoded image carries (libheif gives it the file's nclx); BT.601
// at full range when it has none, as libheif converts such a picture.
std::optional<YCbCrMatrix> MatrixOf(const heif_image* image) {
  heif_color_profile_nclx* nclx = nullptr;
  if (heif_image_get_nclx_color_profile(image, &nclx).code != heif_error_Ok || !nclx) return YCbCrMatrix{};
  const std::unique_ptr<heif_color_profile_nclx, NclxFree> owned(nclx);
  const Chromaticities primaries{nclx->color_primary_red_x,   nclx->color_primary_red_y,  nclx->color_primary_green_x,
                                 nclx->color_primary_green_y, nclx->color_primary_blue_x, nclx->color_primary_blue_y,
                                 nclx->color_primary_white_x, nclx->color_primary_white_y};
  return MatrixForCodePoint(static_cast<uint16_t>(nclx->matrix_coefficients), nclx->full_range_flag != 0, primaries);
}

// The planes libheif leaves a decoded image in (the decoder's grey or YCbCr ones, kept by the
// patch in cmake/, or the planar RGB a grid's tiles are pasted into) as blue, green, red pixels of `target`'s size:
// shrunk by the largest whole factor that keeps them at least that size while converting, the rest of the way
// resampled. Empty for planes of another kind.
PixelBuffer PixelsOfPlanes(const heif_image* image, PixelSize target) {
  const heif_colorspace colorspace = heif_image_get_colorspace(image);
  const heif_chroma chroma = heif_image_get_chroma_format(image);
  std::optional<YCbCrMatrix> matrix;
  heif_channel channels[3] = {heif_channel_Y, heif_channel_Cb, heif_channel_Cr};
  if (colorspace == heif_colorspace_YCbCr &&
      (chroma == heif_chroma_420 || chroma == heif_chroma_422 || chroma == heif_chroma_444)) {
    matrix = MatrixOf(image);
  } else if (colorspace == heif_colorspace_RGB && chroma == heif_chroma_444) {
    matrix.emplace().identity = true;
    channels[0] = heif_channel_G, channels[1] = heif_channel_B, channels[2] = heif_channel_R;
  } else if (colorspace == heif_colorspace_monochrome) {
    matrix.emplace();
  }
  if (!matrix) return {};
  YCbCrPlanes planes;
  planes.width = static_cast<uint32_t>(heif_image_get_width(image, channels[0]));
  planes.height = static_cast<uint32_t>(heif_image_get_height(image, channels[0]));
  const int depth = heif_image_get_bits_per_pixel_range(image, channels[0]);
  if (depth < 8 || depth > 16 || (depth > 8) != (heif_image_get_bits_per_pixel(image, channels[0]) > 8)) return {};
  planes.bitDepth = static_cast<uint32_t>(depth);
  planes.chromaShiftX = chroma == heif_chroma_420 || chroma == heif_chroma_422 ? 1 : 0;
  planes.chromaShiftY = chroma == heif_chroma_420 ? 1 : 0;
  planes.y = heif_image_get_plane_readonly(image, channels[0], &planes.yStride);
  if (colorspace != heif_colorspace_monochrome) {
    planes.cb = heif_image_get_plane_readonly(image, channels[1], &planes.cbStride);
    planes.cr = heif_image_get_plane_readonly(image, channels[2], &planes.crStride);
    if (!planes.cb || !planes.cr || heif_image_get_bits_per_pixel_range(image, channels[1]) != depth ||
        heif_image_get_bits_per_pixel_range(image, channels[2]) != depth) {
      return {};
    }
  }
  return BgrFromYCbCr(planes, *matrix, DecodeDenominatorFor(planes.width, planes.height, target));
}

// libheif's interleaved RGB or RGBA (what it converts any other kind to) as blue, green, red
// pixels; alpha drawn over white, as for PNG and WebP: left out, transparent pixels would show
// whatever colour the encoder left in them.
PixelBuffer PixelsOfRgb(const heif_image* image, bool premultiplied) {
  const heif_chroma chroma = heif_image_get_chroma_format(image);
  const int channels = chroma == heif_chroma_interleaved_RGBA ? 4 : 3;
  const int width = heif_image_get_width(image, heif_channel_interleaved);
  const int height = heif_image_get_height(image, heif_channel_interleaved);
  int stride = 0;
  const uint8_t* rows = heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
  if (!rows || width <= 0 || height <= 0 || stride < width * channels ||
      heif_image_get_bits_per_pixel_range(image, heif_channel_interleaved) != 8) {
    return {};
  }
  PixelBuffer pixels = PixelBuffer::Blank(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 3);
  for (int y = 0; y < height; ++y) {
    const uint8_t* from = rows + static_cast<size_t>(y) * static_cast<size_t>(stride);
    uint8_t* to = pixels.At(0, static_cast<uint32_t>(y));
    for (int x = 0; x < width; ++x, from += channels, to += 3) {
      const uint32_t alpha = channels == 4 ? from[3] : 255;
      for (int c = 0; c < 3; ++c) {
        const uint32_t value = from[2 - c];
        to[c] = static_cast<uint8_t>(premultiplied ? std::min<uint32_t>(value + 255 - alpha, 255)
                                                   : (value * alpha + 255 * (255 - alpha) + 127) / 255);
      }
    }
  }
  return pixels;
}

// The primary image decoded into `colorspace` and `chroma` (undefined: libheif's planes), then
// brought to the limit's size. None when libheif fails; empty pixels when the planes are of a
// kind only libheif's RGB conversion takes.
std::optional<PixelBuffer> Decoded(heif_image_handle* handle, heif_colorspace colorspace, heif_chroma chroma,
                                   std::optional<int32_t> limit) {
  std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
  if (!options) return std::nullopt;
  options->convert_hdr_to_8bit = 1;
  heif_image* rawImage = nullptr;
  if (Failed(heif_decode_image(handle, &rawImage, colorspace, chroma, options.get()),
             "HEIF: the primary image cannot be decoded")) {
    return std::nullopt;
  }
  std::unique_ptr<heif_image, ImageRelease> image(rawImage);
  const PixelSize target = TargetSize(static_cast<uint32_t>(heif_image_get_primary_width(image.get())),
                                      static_cast<uint32_t>(heif_image_get_primary_height(image.get())), limit);
  PixelBuffer pixels = chroma == heif_chroma_interleaved_RGB || chroma == heif_chroma_interleaved_RGBA
                           ? PixelsOfRgb(image.get(), heif_image_handle_is_premultiplied_alpha(handle) != 0)
                           : PixelsOfPlanes(image.get(), target);
  image.reset();  // the library's picture goes before the resampler makes another
  if (pixels.pixels.empty() || (pixels.width == target.width && pixels.height == target.height)) return pixels;
  return ResamplePixels(pixels, target.width, target.height);
}

}  // namespace

std::optional<DecodedPicture> DecodeHeif(std::span<const uint8_t> file, std::optional<int32_t> limit) {
  std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
  if (!context) return std::nullopt;
  // Checked again by the library for every image, grid outputs included, whatever the header
  // read before said: one side at the bound passes, as for the other kinds.
  heif_context_set_maximum_image_size_limit(context.get(), 16385);
  if (Failed(heif_context_read_from_memory_without_copy(context.get(), file.data(), file.size(), nullptr),
             "HEIF: the file cannot be read")) {
    return std::nullopt;
  }
  heif_image_handle* rawHandle = nullptr;
  if (Failed(heif_context_get_primary_image_handle(context.get(), &rawHandle), "HEIF: no primary image")) {
    return std::nullopt;
  }
  std::unique_ptr<heif_image_handle, HandleRelease> handle(rawHandle);
  const uint64_t claimed =
      uint64_t(heif_image_handle_get_width(handle.get())) * uint64_t(heif_image_handle_get_height(handle.get()));
  if (claimed == 0 || claimed > kMostPicturePixels) return std::nullopt;

  // The decoder's own planes first: converting them ourselves, shrunk on the way, spares
  // libheif's two full-size conversions (to planar, then interleaved RGB) and their memory. A
  // picture with alpha (rare in photos) takes libheif's RGBA, which holds the alpha plane too.
  const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
  std::optional<PixelBuffer> pixels;
  if (!alpha) {
    pixels = Decoded(handle.get(), heif_colorspace_undefined, heif_chroma_undefined, limit);
    if (!pixels) return std::nullopt;
  }
  if (!pixels || pixels->pixels.empty()) {  // alpha, or planes of a kind only libheif converts
    pixels = Decoded(handle.get(), heif_colorspace_RGB,
                     alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, limit);
    if (!pixels || pixels->pixels.empty()) return std::nullopt;
  }
  DecodedPicture picture;
  picture.pixels = std::move(*pixels);
  picture.exif = ExifOf(handle.get());
  picture.icc = IccOf(handle.get());
  return picture;
}

}  // namespace fernwick
