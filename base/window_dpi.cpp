#include "base/window_dpi.h"

#include "base/core/dpi_scale.h"
#include "base/handles.h"

namespace fernwick {

namespace {
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// Looked up once: user32 is loaded for the whole life of the process. Older systems (and
// older Wine) lack the function, so it is not imported, which would stop the program loading.
GetDpiForWindowFunction DpiForWindowFunction() noexcept {
  static const auto function = [] {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<GetDpiForWindowFunction>(
                        reinterpret_cast<void*>(::GetProcAddress(user32, "GetDpiForWindow")))
                  : nullptr;
  }();
  return function;
}
}  // namespace

int WindowDpi(HWND window) noexcept {
  if (window) {
    if (const GetDpiForWindowFunction function = DpiForWindowFunction()) {
      if (const UINT dpi = function(window)) return static_cast<int>(dpi);
    }
  }
  WindowDc screen(nullptr);
  const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
  return dpi > 0 ? dpi : kBaseDpi;
}

}  // namespace fernwick
