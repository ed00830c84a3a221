#pragma once
// Working copies of a decoded picture written the way adding a photo writes them, for the tests
// of scaling and converting without a file to add.
#include <windows.h>
#include <gdiplus.h>

#include <cstdint>

#include "imaging/working_copies.h"

namespace fernwick::test {

// A copy scaled so that its longer side is `limit`, in the scaled-copies directory under
// `fileNumber`, JPEG quality 90, with the picture's ICC profile.
WorkingCopy ScaleToLimit(Gdiplus::GpBitmap* picture, int32_t limit, int32_t fileNumber);

// A same-size JPEG copy (quality 90, the ICC profile kept) in the scaled-copies directory under `fileNumber`.
WorkingCopy ReEncodeAsJpeg(Gdiplus::GpBitmap* picture, int32_t fileNumber);

}  // namespace fernwick::test
