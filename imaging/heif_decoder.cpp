#include "imaging/heif_decoder.h"

#include <libheif/heif.h>

#include <memory>

#include "base/log.h"
#include "imaging/core/heif_webp_header.h"
#include "imaging/core/picture_header.h"

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

// An ICC profile stored as such ("prof" or "rICC"); colours given only as code points (nclx) have
// none to carry.
std::vector<uint8_t> IccOf(heif_image_handle* handle) {
  const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
  if (type != heif_color_profile_type_prof && type != heif_color_profile_type_rICC) return {};
  std::vector<uint8_t> profile(heif_image_handle_get_raw_color_profile_size(handle));
  if (profile.empty() ||
      Failed(heif_image_handle_get_raw_color_profile(handle, profile.data()), "HEIF: its ICC profile cannot be read")) {
    return {};
  }
  return profile;
}

}  // namespace

std::optional<DecodedPicture> DecodeHeif(std::span<const uint8_t> file) {
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

  std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
  if (!options) return std::nullopt;
  options->convert_hdr_to_8bit = 1;
  heif_image* rawImage = nullptr;
  if (Failed(
          heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB, heif_chroma_interleaved_RGB, options.get()),
          "HEIF: the primary image cannot be decoded")) {
    return std::nullopt;
  }
  std::unique_ptr<heif_image, ImageRelease> image(rawImage);
  const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
  const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
  int stride = 0;
  const uint8_t* rows = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
  if (!rows || width <= 0 || height <= 0 || stride < width * 3 ||
      heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved) != 8) {
    return std::nullopt;
  }

  DecodedPicture picture;
  picture.pixels = PixelBuffer::Blank(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 3);
  for (int y = 0; y < height; ++y) {
    const uint8_t* from = rows + static_cast<size_t>(y) * static_cast<size_t>(stride);
    uint8_t* to = picture.pixels.At(0, static_cast<uint32_t>(y));
    for (int x = 0; x < width; ++x, from += 3, to += 3) {
      to[0] = from[2];
      to[1] = from[1];
      to[2] = from[0];
    }
  }
  image.reset();  // the library's copy goes before the caller scales its own
  picture.exif = ExifOf(handle.get());
  picture.icc = IccOf(handle.get());
  return picture;
}

}  // namespace fernwick
