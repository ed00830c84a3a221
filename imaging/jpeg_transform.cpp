#include "imaging/jpeg_transform.h"

#include "imaging/core/photo_metadata.h"
#include "imaging/jpeg_codec.h"
#include "imaging/jpeg_library.h"

extern "C" {
#include <transupp.h>
}

namespace fernwick {

namespace {

JXFORM_CODE ToLibrary(PixelTransform transform) {
  switch (transform) {
    case PixelTransform::kNone:
      return JXFORM_NONE;
    case PixelTransform::kFlipHorizontal:
      return JXFORM_FLIP_H;
    case PixelTransform::kFlipVertical:
      return JXFORM_FLIP_V;
    case PixelTransform::kTranspose:
      return JXFORM_TRANSPOSE;
    case PixelTransform::kTransverse:
      return JXFORM_TRANSVERSE;
    case PixelTransform::kRotate90:
      return JXFORM_ROT_90;
    case PixelTransform::kRotate180:
      return JXFORM_ROT_180;
    case PixelTransform::kRotate270:
      return JXFORM_ROT_270;
  }
  return JXFORM_NONE;
}

// Both objects' errors jump to the points set here; the reader has read the header.
bool MoveBlocks(JpegReader& reader, JpegWriter& writer, jpeg_transform_info& transform,
                std::span<const AppSegment> segments) {
  jpeg_decompress_struct& source = reader.info();
  jpeg_compress_struct& target = writer.info();
  if (setjmp(reader.jump())) return false;
  if (setjmp(writer.jump())) return false;
  // With `perfect`, this is where an inexact edge is refused.
  if (!jtransform_request_workspace(&source, &transform)) return false;
  jvirt_barray_ptr* sourceBlocks = jpeg_read_coefficients(&source);
  jpeg_copy_critical_parameters(&source, &target);
  jvirt_barray_ptr* targetBlocks = jtransform_adjust_parameters(&source, &target, sourceBlocks, &transform);
  // The default Huffman tables would make the copy larger than the original.
  target.optimize_coding = TRUE;
  if (source.progressive_mode) jpeg_simple_progression(&target);
  if (!segments.empty() && IsExifSegment(segments.front())) target.write_JFIF_header = FALSE;
  jpeg_write_coefficients(&target, targetBlocks);
  for (const AppSegment& segment : segments) {
    jpeg_write_marker(&target, segment.marker, segment.payload.data(),
                      static_cast<unsigned int>(segment.payload.size()));
  }
  jtransform_execute_transform(&source, &target, sourceBlocks, &transform);
  jpeg_finish_compress(&target);
  jpeg_finish_decompress(&source);
  return true;
}

}  // namespace

std::optional<std::vector<uint8_t>> TransformJpeg(std::span<const uint8_t> jpeg, PixelTransform transform,
                                                  std::span<const AppSegment> segments) {
  for (const AppSegment& segment : segments) {
    if (segment.payload.size() > 65533) return std::nullopt;
  }
  JpegReader reader;
  JpegWriter writer;
  if (!reader.ReadHeader(jpeg) || !writer.WriteToMemory()) return std::nullopt;
  jpeg_transform_info info{};
  info.transform = ToLibrary(transform);
  // Refuse rather than leave the partial edge blocks where they were (garbled) or trim them
  // away (lost pixels).
  info.perfect = TRUE;
  if (!MoveBlocks(reader, writer, info, segments)) return std::nullopt;
  return writer.TakeBytes();
}

std::optional<std::vector<uint8_t>> UprightJpegCopy(std::span<const uint8_t> jpeg, int32_t clockwiseDegrees) {
  const std::optional<JpegSize> size = ReadJpegSize(jpeg);
  if (!size) return std::nullopt;
  const PixelTransform transform = UprightTransform(JpegOrientation(jpeg), clockwiseDegrees);
  const bool swap = SwapsSides(transform);
  const std::vector<AppSegment> segments =
      SegmentsForUprightCopy(jpeg, swap ? size->height : size->width, swap ? size->width : size->height);
  return TransformJpeg(jpeg, transform, segments);
}

}  // namespace fernwick
