#include "support/screenshot.h"

#include <gdiplus.h>

#include "base/gdiplus_handles.h"
#include "base/handles.h"
#include "imaging/picture_io.h"
#include "support/window_helpers.h"

namespace fernwick::test {

bool SaveScreenshot(HWND window, const std::wstring& path) {
  // The screen is copied, so whatever the program has not painted yet is painted first.
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
  // Wine paints into a copy of the window and hands it to the screen only when the window's
  // thread next waits for messages, at most every 50 ms: a window of this thread, just painted,
  // would otherwise be copied from the screen as it was before.
  if (::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId()) {
    const ULONGLONG start = ::GetTickCount64();
    PumpUntil([&] { return ::GetTickCount64() - start >= 200; }, 1000);
  }
  RECT rect{};
  if (!::GetWindowRect(window, &rect)) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  WindowDc screen(nullptr);
  UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  UniqueHBitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
  if (!memory || !bitmap) return false;
  {
    SelectScope select(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);
  }
  GpBitmapPtr picture;
  if (Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bitmap.get(), nullptr, picture.put()) != Gdiplus::Ok) {
    return false;
  }
  const auto png = FindEncoder(L"image/png");
  return png &&
         Gdiplus::DllExports::GdipSaveImageToFile(picture.get(), path.c_str(), &*png, nullptr) == Gdiplus::Ok;
}

}  // namespace fernwick::test
