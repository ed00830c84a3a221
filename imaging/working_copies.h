#pragma once
// The JPEG working copies that are uploaded in place of the user's files: scaled copies and
// same-size conversions when a photo is added, rotated copies just before an upload.
#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fernwick {

class PhotoItem;

struct WorkingCopy {
  std::wstring path;  // "<scaled copies directory><number>.jpg", also when nothing was written
  int32_t size = 0;  // bytes; 0 when the copy was not written
  bool written = false;
  DWORD error = 0;  // why it was not written, as the system tells it; 0 when it cannot tell
};

// A number for the copy of a photo being prepared, until the photo enters the list and its copy
// takes the list's next number: below 0, so that its name is never a numbered copy's, and
// different at every call of the run, from any thread.
int32_t DraftCopyNumber() noexcept;

// Writes the bytes of a JPEG copy made for a photo being added (none: nothing to write) to the
// scaled-copies directory under `fileNumber`.
WorkingCopy WriteWorkingCopy(const std::optional<std::vector<uint8_t>>& jpeg, int32_t fileNumber);

// A rotated copy as written, to be applied to its item.
struct RotatedCopy {
  std::wstring path;     // "<rotated copies directory><number>.jpg", also when nothing was written
  int32_t degrees = 0;  // clockwise: 0 (not turned: nothing written), 90, 180 or 270
  bool swapsSides = false;
  bool written = false;
};

// Writes the photo at `sendPath`, turned by `angle`, to the rotated-copies directory under
// `fileNumber`, upright: a JPEG's own EXIF orientation composes with the turn, and its metadata
// goes along (orientation 1). A JPEG is turned without decoding where its edges allow, and
// decoded, turned and encoded where they do not; anything libjpeg-turbo cannot read goes through
// GDI+ (its lossless transformation where it works, otherwise the pixels turned before saving). Touches no item and no
// window, so a worker thread may call it.
RotatedCopy WriteRotatedCopy(const std::wstring& sendPath, double angle, int32_t fileNumber);

// Makes the copy the item's sendPath, swaps width and height for a quarter turn, sets angle
// to 0 (adding the turn to sendTurn) and turns the thumbnail to match. Does nothing for a copy
// of an unturned photo or a copy that was not written.
void ApplyRotatedCopy(PhotoItem& item, const RotatedCopy& copy);

// Whether this system's JPEG encoder applies the transformation parameter (13, 14 or 15);
// some GDI+ implementations ignore it and write the picture unturned.
bool EncoderAppliesTransformation(ULONG transformValue);

}  // namespace fernwick
