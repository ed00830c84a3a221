#pragma once
// Between GDI+ pictures and pixels in memory: what a picture GDI+ decoded (PNG, BMP, GIF, TIFF,
// a JPEG libjpeg-turbo cannot read) goes through to become a JPEG working copy (scaled, when it
// is, by the resampler of imaging/core like every other copy).
#include <windows.h>
#include <gdiplus.h>

#include <optional>
#include <vector>

#include "base/gdiplus_handles.h"
#include "imaging/core/photo_metadata.h"
#include "imaging/core/pixel_buffer.h"

namespace fernwick {

// The picture's pixels, 3 bytes each (blue, green, red; alpha is dropped as a JPEG has none).
// None when there is no picture or GDI+ cannot give them.
std::optional<PixelBuffer> PixelsOf(Gdiplus::GpBitmap* picture);

// A GDI+ bitmap that reads the buffer's pixels in place: the buffer must outlive it and stay
// unchanged. None for an empty buffer.
GpBitmapPtr BitmapOver(const PixelBuffer& pixels);

// The picture's embedded ICC colour profile as APP2 segments for a JPEG copy; none when it has
// none or GDI+ does not give it.
std::vector<AppSegment> IccSegmentsOf(Gdiplus::GpBitmap* picture);

}  // namespace fernwick
