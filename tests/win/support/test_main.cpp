// main() of every in-process Windows test program: the platform libraries are started the
// way the program starts them, so real windows, GDI+ and the common controls work in tests.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "accounts/account_state.h"
#include "accounts/saved_passwords.h"
#include "base/platform_guards.h"
#include "upload/upload_history.h"

namespace {

// The tests share one Wine prefix and so one upload history: each test starts without one, or
// photos an earlier test sent under the same account would be asked about again.
class FreshUploadHistory : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { ::DeleteFileW(fernwick::UploadHistoryPath().c_str()); }
};

}  // namespace

int main(int argc, char** argv) {
  fernwick::ComGuard com;
  fernwick::GdiplusGuard gdiplus;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  ::testing::InitGoogleTest(&argc, argv);
  // googletest takes the listener and deletes it at the end.
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshUploadHistory);
  // The tests share one Wine prefix and so one credential store: each test program starts and
  // leaves it without any of the program's passwords.
  fernwick::ForgetOtherPasswords(fernwick::AccountState{});
  const int result = RUN_ALL_TESTS();
  fernwick::ForgetOtherPasswords(fernwick::AccountState{});
  return result;
}
