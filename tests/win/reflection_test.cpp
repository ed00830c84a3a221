// Notification reflection: what a parent sends back to which child, and what it leaves alone.
#include "controls/reflection.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "support/window_helpers.h"

namespace fernwick {
namespace {

struct Received {
  UINT message;
  WPARAM wParam;
};

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= kReflectionOffset) {
    auto* log = reinterpret_cast<std::vector<Received>*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (log) log->push_back({message, wParam});
    return 0x1234;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

class Reflection : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    child = test::CreateTestWindow("FernwickRecordingChild", &RecordingProc, WS_CHILD, parent, 42);
    ::SetWindowLongPtrA(child, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&log));
  }
  void TearDown() override { ::DestroyWindow(parent); }

  HWND parent = nullptr;
  HWND child = nullptr;
  std::vector<Received> log;
};

TEST_F(Reflection, SendsEachNotificationBackToItsSourceWithTheOffset) {
  NMHDR header{child, 42, 0};
  DRAWITEMSTRUCT draw{};
  struct Case {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  const Case cases[] = {
      {WM_COMMAND, MAKEWPARAM(42, BN_CLICKED), reinterpret_cast<LPARAM>(child)},
      {WM_NOTIFY, 42, reinterpret_cast<LPARAM>(&header)},
      {WM_DRAWITEM, 42, reinterpret_cast<LPARAM>(&draw)},
      {WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, 42), reinterpret_cast<LPARAM>(child)},
      {WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, 42), MAKELPARAM(1, 1)},
      {WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(child)},
      {WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(child)},
  };
  for (const Case& c : cases) {
    log.clear();
    auto result = ReflectNotification(parent, c.message, c.wParam, c.lParam);
    ASSERT_TRUE(result.has_value()) << std::hex << c.message;
    EXPECT_EQ(*result, 0x1234) << "the child's answer becomes the parent's";
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].message, c.message + 0x2000);
    EXPECT_EQ(log[0].wParam, c.wParam);
  }
}

TEST_F(Reflection, LeavesAloneWhatNoChildSent) {
  DRAWITEMSTRUCT menuItem{};
  EXPECT_FALSE(ReflectNotification(parent, WM_COMMAND, IDCANCEL, 0)) << "a command without a control (Escape)";
  EXPECT_FALSE(ReflectNotification(parent, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&menuItem))) << "a menu";
  EXPECT_FALSE(ReflectNotification(parent, WM_DRAWITEM, 99, reinterpret_cast<LPARAM>(&menuItem))) << "unknown id";
  EXPECT_FALSE(ReflectNotification(parent, WM_PAINT, 0, 0));
  EXPECT_FALSE(ReflectNotification(parent, WM_VSCROLL, SB_LINEDOWN, 0)) << "the window's own scroll bar";
  HWND stranger = test::CreateTestWindow("FernwickRecordingChild", &RecordingProc, WS_POPUP);
  EXPECT_FALSE(ReflectNotification(parent, WM_COMMAND, 1, reinterpret_cast<LPARAM>(stranger)))
      << "not a child of this window";
  ::DestroyWindow(stranger);
  EXPECT_TRUE(log.empty());
}

TEST(ReflectableNotifications, AreTheNotificationMessagesOnly) {
  for (UINT message :
       {WM_COMMAND, WM_NOTIFY, WM_PARENTNOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM,
        WM_VKEYTOITEM, WM_CHARTOITEM, WM_HSCROLL, WM_VSCROLL, WM_CTLCOLORMSGBOX, WM_CTLCOLORBTN, WM_CTLCOLORSTATIC}) {
    EXPECT_TRUE(IsReflectableNotification(message)) << std::hex << message;
  }
  for (UINT message : {WM_PAINT, WM_SIZE, WM_MOUSEMOVE, WM_KEYDOWN, WM_SETFOCUS}) {
    EXPECT_FALSE(IsReflectableNotification(message)) << std::hex << message;
  }
}

}  // namespace
}  // namespace fernwick
