#pragma once
// Owners for GDI+ flat-API objects. They must all be gone before GdiplusShutdown
// (see base/platform_guards.h).
#include <windows.h>
#include <gdiplus.h>

#include "base/handles.h"

namespace fernwick {

struct GpImageTraits {
  using pointer = Gdiplus::GpBitmap*;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer p) noexcept { Gdiplus::DllExports::GdipDisposeImage(p); }
};
struct GpGraphicsTraits {
  using pointer = Gdiplus::GpGraphics*;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer p) noexcept { Gdiplus::DllExports::GdipDeleteGraphics(p); }
};
struct GpMatrixTraits {
  using pointer = Gdiplus::GpMatrix*;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer p) noexcept { Gdiplus::DllExports::GdipDeleteMatrix(p); }
};

using GpBitmapPtr = UniqueResource<GpImageTraits>;
using GpGraphicsPtr = UniqueResource<GpGraphicsTraits>;
using GpMatrixPtr = UniqueResource<GpMatrixTraits>;

}  // namespace fernwick
