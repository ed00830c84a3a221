// main() of every in-process Windows test program: the platform libraries are started the
// way the program starts them, so real windows, GDI+ and the common controls work in tests.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "base/platform_guards.h"

int main(int argc, char** argv) {
  fernwick::ComGuard com;
  fernwick::GdiplusGuard gdiplus;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
