#pragma once
// Made-up photos for the demonstration host and the benchmark: a sky, a sun and a hill in
// colours that differ from one picture to the next.
#include <string>

#include "base/gdiplus_handles.h"

namespace fernwick::tools {

GpBitmapPtr MakeScene(int width, int height, int variant);
// "jpg", "png" or "bmp"; JPEG at quality 92 through libjpeg-turbo.
bool SaveScene(Gdiplus::GpBitmap* picture, const std::wstring& path, const char* format);

}  // namespace fernwick::tools
