#pragma once
// Start-up and shut-down of the platform libraries as guards. Order matters: COM first,
// then GDI+; every GDI+ object (the logo, the photos' pictures) must be released before
// GdiplusShutdown, so the main window's object lives in an inner scope of these guards.
#include <windows.h>
#include <gdiplus.h>
#include <objbase.h>

namespace fernwick {

class ComGuard {
 public:
  ComGuard() noexcept : ok_(SUCCEEDED(::CoInitialize(nullptr))) {}
  ~ComGuard() {
    if (ok_) ::CoUninitialize();
  }
  ComGuard(const ComGuard&) = delete;
  ComGuard& operator=(const ComGuard&) = delete;

 private:
  bool ok_;
};

class GdiplusGuard {
 public:
  GdiplusGuard() noexcept {
    Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, background thread, external codecs
    ok_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
  }
  ~GdiplusGuard() {
    if (ok_) Gdiplus::GdiplusShutdown(token_);
  }
  GdiplusGuard(const GdiplusGuard&) = delete;
  GdiplusGuard& operator=(const GdiplusGuard&) = delete;
  bool ok() const noexcept { return ok_; }

 private:
  ULONG_PTR token_ = 0;
  bool ok_ = false;
};

}  // namespace fernwick
