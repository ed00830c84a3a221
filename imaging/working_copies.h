#pragma once
// The JPEG working copies that are uploaded in place of the user's files: scaled copies and
// same-size conversions when a photo is added, rotated copies just before an upload.
#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <string>

namespace fernwick {

class PhotoItem;

struct WorkingCopy {
  std::string path;  // "<scaled copies directory><number>.jpg", also when nothing was written
  int32_t size = 0;  // bytes; 0 when the copy was not written
  bool written = false;
};

// A copy scaled so that its longer side is `limit`, in the scaled-copies directory under
// `fileNumber`, JPEG quality 90.
WorkingCopy ScaleToLimit(Gdiplus::GpBitmap* picture, int32_t limit, int32_t fileNumber);

// A same-size JPEG copy (quality 90) in the scaled-copies directory under `fileNumber`.
WorkingCopy ReEncodeAsJpeg(Gdiplus::GpBitmap* picture, int32_t fileNumber);

// Writes the turned photo to the rotated-copies directory under `fileNumber`, then makes it
// the item's sendPath, swaps width and height for a quarter turn and sets angle to 0. Does
// nothing for an item that is not turned. The copy is really turned: the encoder's lossless
// transformation is used where it works, otherwise the pixels are turned before saving.
// Returns whether a turned copy was written.
bool PrepareRotatedCopy(PhotoItem& item, int32_t fileNumber);

// Whether this system's JPEG encoder applies the transformation parameter (13, 14 or 15);
// some GDI+ implementations ignore it and write the picture unturned.
bool EncoderAppliesTransformation(ULONG transformValue);

}  // namespace fernwick
