#pragma once
// The logo in the top right corner of the main window: "logo.gif" beside the program file,
// with its white areas made transparent so the window background shows through them.
#include <string>

#include "base/gdiplus_handles.h"

namespace fernwick {

// "<program directory>\logo.gif".
std::wstring LogoPath();

// Opens `path` as a 32-bit ARGB bitmap with white made transparent; empty when the file is
// missing or unreadable (then no logo is drawn).
GpBitmapPtr LoadLogo(const std::wstring& path);

// Every pixel whose red, green and blue are all 255 becomes white with alpha 0. A pixel that
// cannot be read is tested with the colour read before it; failures do not stop the walk.
void MakeWhiteTransparent(Gdiplus::GpBitmap* bitmap);

}  // namespace fernwick
