#pragma once
// Photos as a camera stores them, made in the tests: a scene whose top left as taken is marked by
// a red block, stored turned or mirrored under one of the eight EXIF orientations, with the
// EXIF block of tests/common/exif_fixture.h (date taken, camera, position, orientation).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/core/jpeg_segments.h"
#include "imaging/jpeg_codec.h"
#include "imaging/jpeg_library.h"
#include "tests/common/exif_fixture.h"

namespace fernwick::test {

// Every 16 x 16 block (one block of 4:2:0 chroma) is one colour, so each 8 x 8 DCT block holds
// only its average: decoded at 1/8 scale, a pixel is exactly that average, whichever way the
// blocks were moved. With `grain`, the blocks outside the red one get noise as well, so that
// their every coefficient counts.
inline PixelBuffer Scene(uint32_t width, uint32_t height, bool grain = false) {
  PixelBuffer scene = PixelBuffer::Blank(width, height, 3);
  uint32_t noise = 2024;
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const uint32_t cell = (x / 16) * 7 + (y / 16) * 13;
      noise = noise * 1103515245u + 12345u;
      const uint32_t n = grain ? (noise >> 16) % 32 : 0;
      uint8_t* p = scene.At(x, y);
      const bool corner = x < 16 && y < 16;
      p[0] = corner ? 0 : uint8_t(40 + cell * 37 % 160 + n);  // blue
      p[1] = corner ? 0 : uint8_t(40 + cell * 71 % 160 + n);  // green
      p[2] = corner ? 255 : uint8_t(40 + cell * 23 % 160 + n);
    }
  }
  return scene;
}

// The scene as a camera stores it under `orientation`, with EXIF that says so.
inline std::vector<uint8_t> PhotoJpeg(const PixelBuffer& scene, uint16_t orientation) {
  const PixelBuffer stored = TransformPixels(scene, StoringTransform(orientation));
  const ExifPhoto photo{.orientation = orientation, .pixelWidth = stored.width, .pixelHeight = stored.height};
  const AppSegment exif{0xE1, MakeExifPayload(MakeTiffBlock(photo))};
  return EncodeJpeg(stored, {&exif, 1}).value_or(std::vector<uint8_t>{});
}

inline bool SamePixels(const PixelBuffer& a, const PixelBuffer& b) {
  return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

// What the first APP1 segment of a JPEG says, read back.
inline std::optional<ExifFacts> JpegExifFacts(std::span<const uint8_t> jpeg) {
  for (const JpegSegment& s : ReadJpegSegments(jpeg)) {
    if (s.marker == 0xE1) return ReadExifFacts(s.payload);
  }
  return std::nullopt;
}

// The copy's EXIF is the photo's as taken (date, camera, position), standing upright at its size.
inline void ExpectUprightMetadata(std::span<const uint8_t> jpeg, uint32_t width, uint32_t height) {
  const std::optional<ExifFacts> facts = JpegExifFacts(jpeg);
  ASSERT_TRUE(facts);
  const ExifPhoto taken;
  EXPECT_EQ(facts->orientation, 1);
  EXPECT_EQ(facts->dateTaken, taken.dateTaken);
  EXPECT_EQ(facts->make + " " + facts->model, taken.make + " " + taken.model);
  EXPECT_EQ(facts->latitudeDegrees, taken.latitudeDegrees);
  EXPECT_EQ(facts->pixelWidth, width);
  EXPECT_EQ(facts->pixelHeight, height);
  EXPECT_EQ(facts->nextDirectory, 0u) << "the EXIF thumbnail of the stored picture is dropped";
}

// Clearly the red of the scene's marked corner (blue, green, red bytes).
inline bool IsRed(const uint8_t* bgr) { return bgr[2] > 200 && bgr[1] < 60 && bgr[0] < 60; }

// Starts compressing the scene into the writer's memory, progressive or not, a marker first.
inline bool StartJpeg(JpegWriter& writer, const PixelBuffer& scene, bool progressive,
                      std::span<const uint8_t> marker = {}) {
  jpeg_compress_struct& info = writer.info();
  if (!writer.WriteToMemory()) return false;
  if (setjmp(writer.jump())) return false;
  info.image_width = scene.width;
  info.image_height = scene.height;
  info.input_components = 3;
  info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&info);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  if (!marker.empty()) jpeg_write_marker(&info, JPEG_APP0 + 2, marker.data(), static_cast<unsigned>(marker.size()));
  return true;
}

// Writes the rows up to `end`, then finishes; false on libjpeg's error (too few rows, say).
inline bool FinishJpeg(JpegWriter& writer, const PixelBuffer& scene, uint32_t end) {
  jpeg_compress_struct& info = writer.info();
  if (setjmp(writer.jump())) return false;
  while (info.next_scanline < end) {
    JSAMPROW row = const_cast<uint8_t*>(scene.At(0, info.next_scanline));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  return true;
}

// The scene as a progressive JPEG whose last scan is repeated up to `scans` scans, as a crafted
// file does: libjpeg warns of each repeat and reads on.
inline std::vector<uint8_t> ProgressiveJpeg(const PixelBuffer& scene, size_t scans) {
  JpegWriter writer;
  if (!StartJpeg(writer, scene, true) || !FinishJpeg(writer, scene, scene.height)) return {};
  std::vector<uint8_t> jpeg = writer.TakeBytes();
  const uint8_t sos[] = {0xFF, 0xDA};
  const std::vector<uint8_t> last(std::find_end(jpeg.begin(), jpeg.end(), sos, sos + 2), jpeg.end() - 2);
  for (size_t i = CountJpegScans(jpeg, scans); i < scans; ++i) jpeg.insert(jpeg.end() - 2, last.begin(), last.end());
  return jpeg;
}

}  // namespace fernwick::test
