#pragma once
// The real main window for in-process tests: template IDD_MAIN and every handler of the program,
// created modeless; only the photo count is the test's to choose, so that no photos need be
// made for the window's states.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/main_dialog.h"
#include "support/window_helpers.h"

namespace fernwick::test {

class TestMainDialog : public MainDialog {
 public:
  unsigned photoCount = 0;

 protected:
  unsigned PhotoCount() const override { return photoCount; }
};

// A shown main window for each test.
class MainDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(dialog.Create(nullptr), nullptr);
    ::ShowWindow(dialog.hwnd(), SW_SHOW);
    ::UpdateWindow(dialog.hwnd());
    PumpPendingMessages();
  }
  HWND Item(int id) const { return ::GetDlgItem(dialog.hwnd(), id); }
  bool Visible(HWND window) const { return test::Visible(window); }
  bool Visible(int id) const { return Visible(Item(id)); }
  void Command(int id) { test::Command(dialog.hwnd(), id); }

  TestMainDialog dialog;
};

}  // namespace fernwick::test
