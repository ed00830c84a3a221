#include "app/logo.h"

#include <windows.h>
#include <shlwapi.h>

#include "imaging/picture_io.h"

namespace fernwick {

using namespace Gdiplus::DllExports;

std::string LogoPath() {
  char directory[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, directory, MAX_PATH);
  ::PathRemoveFileSpecA(directory);
  return std::string(directory) + "\\logo.gif";
}

GpBitmapPtr LoadLogo(const std::string& path) {
  GpBitmapPtr file = DecodePicture(path);
  if (!file) return {};
  UINT width = 0;
  UINT height = 0;
  GdipGetImageWidth(file.get(), &width);
  GdipGetImageHeight(file.get(), &height);
  // A GIF decodes to an indexed bitmap, whose pixels cannot be set one by one; a 32-bit ARGB
  // copy can take transparency. The copy also lets the file go.
  GpBitmapPtr logo;
  if (GdipCloneBitmapAreaI(0, 0, static_cast<INT>(width), static_cast<INT>(height), PixelFormat32bppARGB, file.get(),
                           logo.put()) != Gdiplus::Ok) {
    return {};
  }
  MakeWhiteTransparent(logo.get());
  return logo;
}

void MakeWhiteTransparent(Gdiplus::GpBitmap* bitmap) {
  if (!bitmap) return;
  UINT width = 0;
  UINT height = 0;
  GdipGetImageWidth(bitmap, &width);
  GdipGetImageHeight(bitmap, &height);
  Gdiplus::ARGB colour = 0;
  for (UINT x = 0; x < width; ++x) {
    for (UINT y = 0; y < height; ++y) {
      GdipBitmapGetPixel(bitmap, static_cast<INT>(x), static_cast<INT>(y), &colour);
      if ((colour & 0x00FFFFFFu) == 0x00FFFFFFu) {
        GdipBitmapSetPixel(bitmap, static_cast<INT>(x), static_cast<INT>(y), 0x00FFFFFFu);
      }
    }
  }
}

}  // namespace fernwick
