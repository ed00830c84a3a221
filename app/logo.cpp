#include "app/logo.h"

#include <windows.h>

#include "imaging/picture_io.h"

namespace fernwick {

using namespace Gdiplus::DllExports;

std::wstring LogoPath() {
  // The program may lie in a folder whose name is longer than MAX_PATH.
  std::wstring path(32768, L'\0');
  const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length < path.size() ? length : 0);
  const std::size_t slash = path.rfind(L'\\');
  path.resize(slash == std::wstring::npos ? 0 : slash);
  return path + L"\\logo.gif";
}

GpBitmapPtr LoadLogo(const std::wstring& path) {
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
