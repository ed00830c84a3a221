#include "imaging/jpeg_codec.h"

#include "imaging/core/resampler.h"
#include "imaging/jpeg_library.h"

namespace fernwick {

namespace {

// After jpeg_read_header: asks for BGR(X) at the given scale and starts decoding.
bool StartPixels(JpegReader& reader, uint32_t bytesPerPixel, uint32_t scaleDenominator) {
  jpeg_decompress_struct& info = reader.info();
  if (setjmp(reader.jump())) return false;
  info.out_color_space = bytesPerPixel == 4 ? JCS_EXT_BGRX : JCS_EXT_BGR;
  info.scale_num = 1;
  info.scale_denom = scaleDenominator;
  jpeg_start_decompress(&info);
  return true;
}

// After StartPixels: reads every row into the caller's rows, which must hold the whole picture.
bool ReadPixelsAt(JpegReader& reader, uint8_t* rows, std::size_t stride) {
  jpeg_decompress_struct& info = reader.info();
  if (setjmp(reader.jump())) return false;
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = rows + std::size_t{info.output_scanline} * stride;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return true;
}

// After StartPixels: reads every row into `out`.
bool ReadPixels(JpegReader& reader, uint32_t bytesPerPixel, PixelBuffer& out) {
  const jpeg_decompress_struct& info = reader.info();
  out = PixelBuffer::Blank(info.output_width, info.output_height, bytesPerPixel);
  return ReadPixelsAt(reader, out.At(0, 0), out.stride);
}

// After StartPixels: hands every row to the resampler as it is decoded. The resampler lives in
// the caller, outside the jump's reach; its row calls neither throw nor jump.
bool ReadPixelsInto(JpegReader& reader, RowResampler& resampler) {
  jpeg_decompress_struct& info = reader.info();
  if (setjmp(reader.jump())) return false;
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = resampler.NextSourceRow();
    if (row == nullptr) return false;
    jpeg_read_scanlines(&info, &row, 1);
    resampler.AddSourceRow();
  }
  jpeg_finish_decompress(&info);
  return true;
}

// What both decodes check before any pixel: the layout and scale asked for, a readable header,
// a colour space the library turns into BGR, a size within reason.
bool ReadDecodableHeader(JpegReader& reader, std::span<const uint8_t> jpeg, uint32_t bytesPerPixel,
                         uint32_t scaleDenominator) {
  if (bytesPerPixel != 3 && bytesPerPixel != 4) return false;
  if (scaleDenominator != 1 && scaleDenominator != 2 && scaleDenominator != 4 && scaleDenominator != 8) return false;
  if (!reader.ReadHeader(jpeg)) return false;
  // The library has no conversion from CMYK or YCCK to BGR.
  const J_COLOR_SPACE stored = reader.info().jpeg_color_space;
  if (stored == JCS_CMYK || stored == JCS_YCCK) return false;
  return uint64_t{reader.info().image_width} * reader.info().image_height <= kMostJpegPixels;
}

bool WritePixels(JpegWriter& writer, const PixelBuffer& picture, std::span<const AppSegment> segments, int quality,
                 JpegColour colour) {
  jpeg_compress_struct& info = writer.info();
  if (setjmp(writer.jump())) return false;
  info.image_width = picture.width;
  info.image_height = picture.height;
  info.input_components = static_cast<int>(picture.bytesPerPixel);
  info.in_color_space = picture.bytesPerPixel == 4 ? JCS_EXT_BGRX : JCS_EXT_BGR;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  // Optimised Huffman tables: a second pass over the coefficients (about 4 ms for a 1024-pixel
  // copy) makes every working copy about 3.5 % smaller, which the upload and the user's monthly
  // quota gain back many times over.
  info.optimize_coding = TRUE;
  info.write_JFIF_header = !segments.empty() && IsExifSegment(segments.front()) ? FALSE : TRUE;
  // RGB is marked as such (an Adobe segment, no JFIF one) for the decoder; the defaults
  // store luminance at 2 x 2 and both colour differences at 1 x 1 of it.
  if (colour == JpegColour::kRgb) {
    jpeg_set_colorspace(&info, JCS_RGB);
    // A flat 8 x 8 block is its DC coefficient alone, 8 x (level - 128), rounded to the table's
    // step: above 8 the step moves levels (at quality 20 pure yellow comes back as 253, at 40
    // black's blue as 1). A step of 8 at most keeps every flat colour exact at any quality, for
    // a few bits more a block. All three components use table 0.
    UINT16& dcStep = info.quant_tbl_ptrs[0]->quantval[0];
    if (dcStep > 8) dcStep = 8;
  } else if (colour == JpegColour::kEveryPixel) {
    info.comp_info[0].h_samp_factor = 1;
    info.comp_info[0].v_samp_factor = 1;
  }
  jpeg_start_compress(&info, TRUE);
  for (const AppSegment& segment : segments) {
    jpeg_write_marker(&info, segment.marker, segment.payload.data(), static_cast<unsigned int>(segment.payload.size()));
  }
  while (info.next_scanline < info.image_height) {
    // libjpeg does not write through the row pointers it is given.
    JSAMPROW row = const_cast<uint8_t*>(picture.At(0, info.next_scanline));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  return true;
}

}  // namespace

std::optional<JpegSize> ReadJpegSize(std::span<const uint8_t> jpeg) {
  JpegReader reader;
  if (!reader.ReadHeader(jpeg)) return std::nullopt;
  return JpegSize{reader.info().image_width, reader.info().image_height};
}

bool JpegTooLargeToDecode(std::span<const uint8_t> jpeg) {
  const std::optional<JpegSize> size = ReadJpegSize(jpeg);
  return size && uint64_t{size->width} * size->height > kMostJpegPixels;
}

std::optional<PixelBuffer> DecodeJpegResampled(std::span<const uint8_t> jpeg, uint32_t scaleDenominator, uint32_t width,
                                               uint32_t height) {
  JpegReader reader;
  if (width == 0 || height == 0 || !ReadDecodableHeader(reader, jpeg, 3, scaleDenominator) ||
      !StartPixels(reader, 3, scaleDenominator)) {
    return std::nullopt;
  }
  RowResampler resampler(reader.info().output_width, reader.info().output_height, 3, width, height);
  if (!ReadPixelsInto(reader, resampler)) return std::nullopt;
  PixelBuffer out = resampler.Take();
  if (out.pixels.empty()) return std::nullopt;
  return out;
}

std::optional<PixelBuffer> DecodeJpeg(std::span<const uint8_t> jpeg, uint32_t bytesPerPixel,
                                      uint32_t scaleDenominator) {
  JpegReader reader;
  if (!ReadDecodableHeader(reader, jpeg, bytesPerPixel, scaleDenominator)) return std::nullopt;
  PixelBuffer out;
  if (!StartPixels(reader, bytesPerPixel, scaleDenominator) || !ReadPixels(reader, bytesPerPixel, out)) {
    return std::nullopt;
  }
  return out;
}

bool DecodeJpegInto(std::span<const uint8_t> jpeg, uint8_t* rows, std::size_t stride, uint32_t width, uint32_t height) {
  JpegReader reader;
  if (!ReadDecodableHeader(reader, jpeg, 4, 1) || reader.info().image_width != width ||
      reader.info().image_height != height || stride < std::size_t{4} * width) {
    return false;
  }
  return StartPixels(reader, 4, 1) && ReadPixelsAt(reader, rows, stride);
}

std::optional<std::vector<uint8_t>> EncodeJpeg(const PixelBuffer& picture, std::span<const AppSegment> segments,
                                               int quality, JpegColour colour) {
  if (picture.width == 0 || picture.height == 0 || (picture.bytesPerPixel != 3 && picture.bytesPerPixel != 4) ||
      picture.pixels.size() < size_t{picture.stride} * picture.height) {
    return std::nullopt;
  }
  for (const AppSegment& segment : segments) {
    if (segment.payload.size() > 65533) return std::nullopt;
  }
  JpegWriter writer;
  if (!writer.WriteToMemory() || !WritePixels(writer, picture, segments, quality, colour)) return std::nullopt;
  return writer.TakeBytes();
}

}  // namespace fernwick
