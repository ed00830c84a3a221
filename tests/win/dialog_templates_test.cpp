// The dialog templates of the main window and the wizard pages as the program creates them:
// every control's class, text, place in dialog units, visibility and telling styles.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "res/main_window_ids.h"
#include "support/test_main_dialog.h"
#include "support/window_helpers.h"

namespace fernwick {
namespace {

INT_PTR CALLBACK BareDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// A template created with a procedure that does nothing, so every control is where and as
// the template puts it.
// Pages are child dialogs, so every template gets a parent.
class BareDialog {
 public:
  explicit BareDialog(int id)
      : parent_(::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr)),
        window_(::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), parent_, &BareDialogProc, 0)) {}
  ~BareDialog() {
    ::DestroyWindow(window_);
    ::DestroyWindow(parent_);
  }
  HWND hwnd() const { return window_; }

 private:
  HWND parent_;
  HWND window_;
};

// The dialog manager converts a control's position and its size separately.
RECT ToPixels(HWND dialog, const RECT& units) {
  RECT position{units.left, units.top, 0, 0};
  RECT size{0, 0, units.right, units.bottom};
  ::MapDialogRect(dialog, &position);
  ::MapDialogRect(dialog, &size);
  return {position.left, position.top, position.left + size.right, position.top + size.bottom};
}

struct ControlCase {
  int dialog;
  int id;  // -1: found by its text
  const char* className;
  const wchar_t* text;
  RECT units;  // x, y, width, height
  bool visible;
};

// clang-format off
const ControlCase kControls[] = {
  {129, 1017, "Button", L"确定", {128, 235, 50, 16}, false},
  {129, 1008, "Button", L"上传", {188, 235, 50, 16}, true},
  {129, 1003, "Button", L"增加", {4, 26, 26, 24}, true},
  {129, 1004, "Button", L"删除", {29, 26, 26, 24}, true},
  {129, 1005, "Button", L"左旋", {54, 26, 26, 24}, true},
  {129, 1006, "Button", L"右旋", {79, 26, 26, 24}, true},
  {129, 1007, "Button", L"设置", {104, 26, 26, 24}, true},
  {129, 1009, "Static", L"30%的本月上传空间", {7, 264, 129, 8}, true},
  {129, 1010, "Static", L"当前用户:", {8, 10, 139, 8}, true},
  {129, 1011, "Button", L"返回", {188, 235, 50, 16}, false},
  {129, 1025, "Static", L"", {22, 239, 8, 8}, true},
  {203, -1, "Button", L"照片设置", {7, 0, 242, 168}, true},
  {203, -1, "Static", L"标签", {21, 21, 17, 9}, true},
  {203, -1, "Static", L"多个标签用空格分隔,如\"旅游  朋友\"（可不填）", {23, 36, 176, 9}, true},
  {203, 1008, "Edit", L"", {22, 48, 211, 28}, true},
  {203, -1, "Static", L"权限", {21, 96, 17, 9}, true},
  {203, 1009, "Button", L"公开", {25, 110, 32, 10}, true},
  {203, 1010, "Button", L"只对朋友公开", {25, 125, 64, 10}, true},
  {203, 1011, "Button", L"不公开", {25, 140, 40, 10}, true},
  {206, 1020, "Static", L"上传\"海南\"...", {101, 91, 150, 8}, true},
  {206, 1017, "msctls_progress32", L"", {62, 104, 136, 11}, true},
  {206, 1018, "msctls_progress32", L"", {62, 119, 136, 14}, true},
  {206, 1019, "Button", L"取消", {100, 141, 50, 14}, true},
  {207, -1, "Static", L"你的照片现在在线！", {87, 34, 73, 8}, true},
  {207, -1, "Static", L"告诉你的朋友！告诉你的家人！", {72, 60, 132, 8}, true},
  {207, -1, "Static", L"告诉网上的每一个人！", {72, 74, 81, 8}, true},
  {207, 1023, "Button", L"查看照片", {66, 109, 50, 14}, true},
  {207, 1011, "Button", L"返回", {140, 109, 50, 14}, true},
  {207, 1027, "Static", L"", {4, 0, 8, 8}, false},
};
// clang-format on

HWND FindControl(HWND dialog, const ControlCase& c) {
  if (c.id != -1) return ::GetDlgItem(dialog, c.id);
  for (HWND child : test::Children(dialog)) {
    if (test::WindowText(child) == c.text) return child;
  }
  return nullptr;
}

TEST(DialogTemplates, EveryControlIsAsTheTemplateTableSays) {
  for (const ControlCase& c : kControls) {
    BareDialog dialog(c.dialog);
    ASSERT_NE(dialog.hwnd(), nullptr) << c.dialog;
    HWND control = FindControl(dialog.hwnd(), c);
    ASSERT_NE(control, nullptr) << c.dialog << "/" << c.id << " " << c.text;
    const std::wstring where = std::to_wstring(c.dialog) + L"/" + std::to_wstring(c.id) + L" " + c.text;
    EXPECT_STRCASEEQ(test::ClassName(control).c_str(), c.className) << where;
    EXPECT_EQ(test::WindowText(control), c.text) << where;
    const RECT expected = ToPixels(dialog.hwnd(), c.units);
    const RECT actual = test::RectInParent(control);
    EXPECT_TRUE(::EqualRect(&expected, &actual))
        << where << ": " << actual.left << "," << actual.top << "," << actual.right << "," << actual.bottom
        << " instead of " << expected.left << "," << expected.top << "," << expected.right << "," << expected.bottom;
    EXPECT_EQ((::GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0, c.visible) << where;
  }
}

TEST(DialogTemplates, TheMainWindowIsAResizableCaptionedDialogInSongTypeNinePoint) {
  BareDialog dialog(ids::kMainDialog);
  const LONG style = ::GetWindowLongA(dialog.hwnd(), GWL_STYLE);
  for (LONG bit : {WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX}) {
    EXPECT_EQ(style & bit, bit) << std::hex << bit;
  }
  EXPECT_EQ(test::WindowText(dialog.hwnd()), L"Fernwick");
  RECT size{0, 0, 258, 275};
  ::MapDialogRect(dialog.hwnd(), &size);
  RECT client{};
  ::GetClientRect(dialog.hwnd(), &client);
  EXPECT_EQ(client.right, size.right);
  EXPECT_EQ(client.bottom, size.bottom);
  LOGFONTA font{};
  ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(dialog.hwnd(), WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_STREQ(font.lfFaceName, "宋体");
}

TEST(DialogTemplates, ToolbarButtonsAreOwnerDrawn) {
  BareDialog dialog(ids::kMainDialog);
  for (int id = ids::kAddButton; id <= ids::kSettingsButton; ++id) {
    EXPECT_EQ(::GetWindowLongA(::GetDlgItem(dialog.hwnd(), id), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << id;
  }
}

TEST(DialogTemplates, PagesAreBorderlessHiddenChildrenInShellDlgEightPoint) {
  for (int id : {ids::kPhotoSettingsPage, ids::kProgressPage, ids::kDonePage}) {
    BareDialog dialog(id);
    HWND page = dialog.hwnd();
    ASSERT_NE(page, nullptr) << id;
    const LONG style = ::GetWindowLongA(page, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD) << id;
    EXPECT_FALSE(style & WS_VISIBLE) << id;
    EXPECT_FALSE((style & WS_CAPTION) == WS_CAPTION) << id;
    EXPECT_FALSE(style & WS_BORDER) << id;
    RECT size{0, 0, 267, 169};
    ::MapDialogRect(page, &size);
    RECT client{};
    ::GetClientRect(page, &client);
    EXPECT_EQ(client.right, size.right) << id;
    EXPECT_EQ(client.bottom, size.bottom) << id;
    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(page, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_STREQ(font.lfFaceName, "MS Shell Dlg") << id;
  }
}

TEST(DialogTemplates, PhotoSettingsControlsHaveTheirBehaviourStyles) {
  BareDialog dialog(ids::kPhotoSettingsPage);
  HWND page = dialog.hwnd();
  HWND editWindow = ::GetDlgItem(page, 1008);
  EXPECT_TRUE(::GetWindowLongA(editWindow, GWL_STYLE) & ES_MULTILINE);
  // The dialog manager draws a bordered edit with the sunken client edge.
  EXPECT_TRUE((::GetWindowLongA(editWindow, GWL_STYLE) & WS_BORDER) ||
              (::GetWindowLongA(editWindow, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
  EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(page, 1009), GWL_STYLE) & WS_GROUP);
  for (int radio : {1009, 1010, 1011}) {
    EXPECT_EQ(::GetWindowLongA(::GetDlgItem(page, radio), GWL_STYLE) & BS_TYPEMASK, BS_AUTORADIOBUTTON) << radio;
  }
  EXPECT_FALSE(::GetWindowLongA(::GetDlgItem(page, 1010), GWL_STYLE) & WS_GROUP);
  EXPECT_FALSE(::GetWindowLongA(::GetDlgItem(page, 1011), GWL_STYLE) & WS_GROUP);
}

TEST(DialogTemplates, ResourcesHaveTheirSizes) {
  struct BitmapCase {
    int id, width, height;
  };
  for (BitmapCase c : {BitmapCase{212, 40, 40},
                       {213, 40, 40},
                       {214, 40, 40},
                       {215, 40, 40},
                       {216, 40, 40},
                       {228, 40, 40},
                       {231, 40, 40},
                       {232, 40, 40},
                       {222, 52, 17}}) {
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(c.id), MAKEINTRESOURCEA(2));  // RT_BITMAP
    ASSERT_NE(found, nullptr) << c.id;
    const auto* header = static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(nullptr, found)));
    EXPECT_EQ(header->biWidth, c.width) << c.id;
    EXPECT_EQ(std::abs(header->biHeight), c.height) << c.id;
    EXPECT_EQ(header->biBitCount, 24) << c.id;
  }
  HICON icon = static_cast<HICON>(
      ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ids::kWindowIcon), IMAGE_ICON, 16, 16, 0));
  EXPECT_NE(icon, nullptr);
  ::DestroyIcon(icon);
}

// The pages as the main window makes them.
class WizardPages : public test::MainDialogTest {};

TEST_F(WizardPages, AreHiddenChildrenOfTheMainWindowCentredOverItsClientArea) {
  RECT client{};
  ::GetClientRect(dialog.hwnd(), &client);
  for (HWND page : {dialog.settingsPage().hwnd(), dialog.progressPage().hwnd(), dialog.donePage()->hwnd()}) {
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(::GetParent(page), dialog.hwnd());
    EXPECT_FALSE(Visible(page));
    // Centred, but kept inside: a page wider than the client area sits at its left edge.
    const RECT rect = test::RectInParent(page);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    EXPECT_EQ(rect.left, std::max<LONG>(0, (client.right - width) / 2));
    EXPECT_EQ(rect.top, std::max<LONG>(0, (client.bottom - height) / 2));
  }
}

TEST_F(WizardPages, EachPageHasItsOwnTemplate) {
  EXPECT_NE(::GetDlgItem(dialog.settingsPage().hwnd(), 1008), nullptr);
  EXPECT_NE(::GetDlgItem(dialog.progressPage().hwnd(), 1019), nullptr);
  EXPECT_NE(::GetDlgItem(dialog.donePage()->hwnd(), 1023), nullptr);
}

TEST_F(WizardPages, GoWithTheMainWindow) {
  HWND page = dialog.settingsPage().hwnd();
  ::SendMessageA(dialog.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(page));
  EXPECT_EQ(dialog.settingsPage().hwnd(), nullptr);
}

}  // namespace
}  // namespace fernwick
