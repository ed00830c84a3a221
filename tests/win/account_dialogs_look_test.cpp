#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "accounts/login_dialog.h"
#include "accounts/settings_dialog.h"
#include "base/program_state.h"
#include "res/resource.h"
#include "support/account_test_support.h"

namespace fernwick {
namespace {

using test::FakeAccountHost;
using test::ScriptedSignIn;

struct Child {
  HWND window;
  RECT rect;  // in the dialog's client coordinates
  bool groupBox;
};

std::vector<Child> VisibleChildren(HWND dialog) {
  std::vector<Child> children;
  for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    if (!(::GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT r{};
    ::GetWindowRect(c, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    const LONG style = ::GetWindowLongA(c, GWL_STYLE);
    char cls[32] = {};
    ::GetClassNameA(c, cls, sizeof(cls));
    const bool group = ::lstrcmpiA(cls, "Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX;
    children.push_back(Child{c, r, group});
  }
  return children;
}

// Every control lies inside the dialog, and no two controls cover each other (group boxes
// only frame others).
void ExpectTidyLayout(HWND dialog, const char* name) {
  RECT client{};
  ::GetClientRect(dialog, &client);
  const std::vector<Child> children = VisibleChildren(dialog);
  EXPECT_GT(children.size(), 5u) << name;
  for (const Child& c : children) {
    EXPECT_TRUE(c.rect.left >= 0 && c.rect.top >= 0 && c.rect.right <= client.right && c.rect.bottom <= client.bottom)
        << name << ": control " << ::GetDlgCtrlID(c.window) << " sticks out";
  }
  for (std::size_t i = 0; i < children.size(); ++i) {
    for (std::size_t j = i + 1; j < children.size(); ++j) {
      if (children[i].groupBox || children[j].groupBox) continue;
      RECT overlap{};
      // A drop-down combo's window is taller than its edit part while closed; its own box only.
      RECT a = children[i].rect, b = children[j].rect;
      EXPECT_FALSE(::IntersectRect(&overlap, &a, &b)) << name << ": controls " << ::GetDlgCtrlID(children[i].window)
                                                      << " and " << ::GetDlgCtrlID(children[j].window) << " overlap";
    }
  }
}

TEST(AccountDialogsLook, LoginLayoutIsTidy) {
  FakeAccountHost host;
  ScriptedSignIn signIn;
  LoginDialog login(host, false, signIn.services());
  HWND window = login.CreateModeless(kLoginDialogTemplate, host.hwnd());
  ASSERT_NE(window, nullptr);
  ExpectTidyLayout(window, "login");
}

TEST(AccountDialogsLook, SettingsLayoutIsTidy) {
  FakeAccountHost host;
  ScriptedSignIn signIn;
  SettingsDialog settings(host, signIn.services(), nullptr);
  HWND window = settings.CreateModeless(kSettingsDialogTemplate, host.hwnd());
  ASSERT_NE(window, nullptr);
  ExpectTidyLayout(window, "settings");
}

// For looking at the dialogs: FERNWICK_SHOW_DIALOGS=<seconds> shows both, filled in, for that
// long (take a screenshot meanwhile). Skipped otherwise.
TEST(AccountDialogsLook, ShowForScreenshot) {
  const char* seconds = std::getenv("FERNWICK_SHOW_DIALOGS");
  if (!seconds) GTEST_SKIP() << "set FERNWICK_SHOW_DIALOGS to look at the dialogs";
  FakeAccountHost host;
  host.state.Load({L"lumora_fan", L""}, {{L"张三", L"pw"}, {L"lumora_fan", L"pw"}, {L"photographer", L"pw"}}, false);
  SetSizeLimit(1280);
  ScriptedSignIn signIn;
  SettingsDialog settings(host, signIn.services(), nullptr);
  HWND settingsWindow = settings.CreateModeless(kSettingsDialogTemplate, nullptr);
  ::SetWindowPos(settingsWindow, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::ShowWindow(settingsWindow, SW_SHOW);
  LoginDialog login(host, false, signIn.services());
  HWND loginWindow = login.CreateModeless(kLoginDialogTemplate, nullptr);
  RECT r{};
  ::GetWindowRect(settingsWindow, &r);
  ::SetWindowPos(loginWindow, nullptr, r.right + 30, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::SetDlgItemTextA(loginWindow, IDC_LOGIN_USER_NAME, "新用户");
  ::SetDlgItemTextA(loginWindow, IDC_LOGIN_PASSWORD, "secret");
  ::ShowWindow(loginWindow, SW_SHOW);
  const DWORD end = ::GetTickCount() + static_cast<DWORD>(std::atoi(seconds)) * 1000;
  while (::GetTickCount() < end) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    test::PumpPendingMessages();
  }
}

}  // namespace
}  // namespace fernwick
