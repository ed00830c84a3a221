// ImageButton on a plain push button of a small host window: drawing, the pressed face,
// capture, focus, the space bar, its tooltip and the ownership of its face.
#include "controls/image_button.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "res/main_window_ids.h"
#include "controls/reflection.h"
#include "support/pixels.h"
#include "support/window_helpers.h"

namespace fernwick {
namespace {

constexpr int kButtonId = 77;
constexpr int kOtherId = 78;

// A top-level window with two buttons that reflects notifications like the main window and
// records the commands it receives.
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* commands = reinterpret_cast<std::vector<WPARAM>*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_COMMAND && commands) commands->push_back(wParam);
  if (message == WM_DRAWITEM) {
    if (auto result = ReflectNotification(window, message, wParam, lParam)) return *result;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

class ImageButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA hostClass{};
    hostClass.lpfnWndProc = &HostProc;
    hostClass.hInstance = ::GetModuleHandleA(nullptr);
    hostClass.lpszClassName = "FernwickImageButtonHost";
    hostClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ::RegisterClassA(&hostClass);
    host = ::CreateWindowExA(0, "FernwickImageButtonHost", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200,
                             nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(host, nullptr);
    ::SetWindowLongPtrA(host, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&commands));
    buttonWindow = MakeButton(kButtonId, 10);
    other = MakeButton(kOtherId, 80);
    test::PumpPendingMessages();
  }
  void TearDown() override {
    ::SetWindowLongPtrA(host, GWLP_USERDATA, 0);
    ::DestroyWindow(host);
    test::PumpPendingMessages();
  }
  HWND MakeButton(int id, int x) {
    return ::CreateWindowExA(0, "BUTTON", "text", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, x, 10, 39, 36,
                             host, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr),
                             nullptr);
  }
  size_t Clicks() const {
    size_t clicks = 0;
    for (WPARAM command : commands) clicks += (command == MAKEWPARAM(kButtonId, BN_CLICKED));
    return clicks;
  }
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(buttonWindow, message, wParam, lParam);
  }
  bool Pressed() const { return (button.state() & ImageButton::kPressed) != 0; }

  HWND host = nullptr;
  HWND buttonWindow = nullptr;
  HWND other = nullptr;
  std::vector<WPARAM> commands;
  ImageButton button;
};

TEST_F(ImageButtonTest, AttachingMakesTheButtonOwnerDrawnOnce) {
  ASSERT_TRUE(button.AttachTo(buttonWindow));
  EXPECT_EQ(::GetWindowLongA(buttonWindow, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_NE(::GetWindowLongA(buttonWindow, GWL_STYLE) & WS_TABSTOP, 0) << "other style bits stay";
  EXPECT_FALSE(button.AttachTo(other)) << "a button is attached once";
  EXPECT_EQ(button.hwnd(), buttonWindow);
}

TEST_F(ImageButtonTest, DrawsItsFaceFromTheReflectedRequestAndNothingElse) {
  ASSERT_TRUE(button.AttachTo(buttonWindow));
  ASSERT_TRUE(button.LoadFace(ids::kSettingsFace));
  test::Canvas canvas(44, 44, RGB(1, 2, 3));
  DRAWITEMSTRUCT item{ODT_BUTTON,  kButtonId,      0, ODA_DRAWENTIRE, ODS_FOCUS, buttonWindow,
                      canvas.dc(), {0, 0, 44, 44}, 0};
  EXPECT_EQ(::SendMessageA(host, WM_DRAWITEM, kButtonId, reinterpret_cast<LPARAM>(&item)), TRUE);
  EXPECT_EQ(test::CanvasPixels(canvas, 0, 0, 40, 40), test::ResourcePixels(ids::kSettingsFace, 40, 40));
  EXPECT_EQ(canvas.At(42, 42), RGB(1, 2, 3)) << "no frame, no focus rectangle";
}

TEST_F(ImageButtonTest, ADrawRequestFromAMenuIsNotReflected) {
  ASSERT_TRUE(button.AttachTo(buttonWindow));
  button.LoadFace(ids::kAddFace);
  test::Canvas canvas(44, 44, RGB(1, 2, 3));
  DRAWITEMSTRUCT item{ODT_MENU, 0, 0, ODA_DRAWENTIRE, 0, nullptr, canvas.dc(), {0, 0, 44, 44}, 0};
  ::SendMessageA(host, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(canvas.At(10, 10), RGB(1, 2, 3));
}

TEST_F(ImageButtonTest, HoldingTheMousePressesDraggingOffReleasesAndReleasingOutsideDoesNotClick) {
  ASSERT_TRUE(button.AttachTo(buttonWindow));
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(::GetCapture(), buttonWindow);
  EXPECT_TRUE(Pressed());
  Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 5));
  EXPECT_FALSE(Pressed()) << "off the button";
  Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(6, 6));
  EXPECT_TRUE(Pressed()) << "back on it";
  Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 5));
  Send(WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
  EXPECT_NE(::GetCapture(), buttonWindow);
  EXPECT_FALSE(Pressed());
  EXPECT_EQ(Clicks(), 0u);
}

TEST_F(ImageButtonTest, AClickOnTheButtonReachesTheParentOnce) {
  ASSERT_TRUE(button.AttachTo(buttonWindow));
  test::Click(buttonWindow);
  EXPECT_EQ(Clicks(), 1u);
  EXPECT_FALSE(Pressed());
  EXPECT_NE(::GetCapture(), buttonWindow);
}

TEST_F(ImageButtonTest, EachClickOfADoubleClickIsOneCommand) {
  // Two quick clicks on Rotate must turn the photo twice, not three times.
  ASSERT_TRUE(button.AttachTo(buttonWindow));
  RECT client{};
  ::GetClientRect(buttonWindow, &client);
  const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, middle);
  Send(WM_LBUTTONUP, 0, middle);
  Send(WM_LBUTTONDBLCLK, MK_LBUTTON, middle);
  EXPECT_TRUE(Pressed());
  Send(WM_LBUTTONUP, 0, middle);
  EXPECT_EQ(Clicks(), 2u);
  EXPECT_EQ(commands.size(), 2u) << "no other notification reaches the parent";
}

TEST_F(ImageButtonTest, TheSpaceBarPressesAndClicks) {
  ASSERT_TRUE(button.AttachTo(buttonWindow));
  ::SetFocus(buttonWindow);
  Send(WM_KEYDOWN, VK_SPACE, 0x00390001);
  EXPECT_TRUE(Pressed());
  Send(WM_KEYUP, VK_SPACE, 0xC0390001);
  EXPECT_FALSE(Pressed());
  EXPECT_EQ(Clicks(), 1u);
}

TEST_F(ImageButtonTest, TheFocusedBitFollowsTheFocus) {
  ASSERT_TRUE(button.AttachTo(buttonWindow));
  ::SetFocus(buttonWindow);
  EXPECT_TRUE(button.state() & ImageButton::kFocused);
  ::SetFocus(other);
  EXPECT_FALSE(button.state() & ImageButton::kFocused);
}

TEST_F(ImageButtonTest, LosingTheCaptureReleasesThePressedFace) {
  ASSERT_TRUE(button.AttachTo(buttonWindow));
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ASSERT_TRUE(Pressed());
  ::SetCapture(other);
  EXPECT_FALSE(Pressed());
  ::ReleaseCapture();
}

// Records the messages that get past the image button to the button's own procedure: it is
// put under the image button's subclass, so it sees what the image button passes on.
LRESULT CALLBACK RecordPassedOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR passedOn) {
  reinterpret_cast<std::vector<UINT>*>(passedOn)->push_back(message);
  return ::DefSubclassProc(window, message, wParam, lParam);
}

TEST_F(ImageButtonTest, KeyboardCueChangesAreSwallowed) {
  std::vector<UINT> passedOn;
  ASSERT_TRUE(::SetWindowSubclass(buttonWindow, &RecordPassedOn, 99, reinterpret_cast<DWORD_PTR>(&passedOn)));
  ASSERT_TRUE(button.AttachTo(buttonWindow));
  passedOn.clear();
  EXPECT_EQ(Send(WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0), 0);
  EXPECT_EQ(Send(WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0), 0);
  Send(WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(std::count(passedOn.begin(), passedOn.end(), WM_UPDATEUISTATE), 0);
  EXPECT_EQ(std::count(passedOn.begin(), passedOn.end(), WM_KEYUP), 1) << "other messages do reach the button";
  ::RemoveWindowSubclass(buttonWindow, &RecordPassedOn, 99);
}

TEST_F(ImageButtonTest, ReflectedRequestsGetTheCommonAnswers) {
  ASSERT_TRUE(button.AttachTo(buttonWindow));
  COMPAREITEMSTRUCT compare{};
  EXPECT_EQ(Send(WM_COMPAREITEM + kReflectionOffset, kButtonId, reinterpret_cast<LPARAM>(&compare)), 0);
  MEASUREITEMSTRUCT measure{ODT_BUTTON, kButtonId, 0, 11, 12, 0};
  EXPECT_EQ(Send(WM_MEASUREITEM + kReflectionOffset, kButtonId, reinterpret_cast<LPARAM>(&measure)), TRUE);
  EXPECT_EQ(measure.itemWidth, 11u) << "sizes left as they were";
  test::Canvas canvas(4, 4, 0);
  EXPECT_NE(Send(WM_CTLCOLORBTN + kReflectionOffset, reinterpret_cast<WPARAM>(canvas.dc()),
                 reinterpret_cast<LPARAM>(buttonWindow)),
            0)
      << "the default window procedure's brush";
}

// Tooltips.
std::string ToolText(HWND tooltip, HWND tool) {
  char text[200] = {};
  TOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.hwnd = ::GetParent(tool);
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = text;
  ::SendMessageA(tooltip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&info));
  return text;
}

TEST_F(ImageButtonTest, ATextSetBeforeAttachingIsAddedWhenAttached) {
  button.SetTooltip(L"加入图片");
  ASSERT_TRUE(button.AttachTo(buttonWindow));
  ASSERT_NE(button.tooltipWindow(), nullptr);
  EXPECT_EQ(::SendMessageA(button.tooltipWindow(), TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(ToolText(button.tooltipWindow(), buttonWindow), "加入图片");
}

TEST_F(ImageButtonTest, ANewTextReplacesTheToolInsteadOfAddingOne) {
  ASSERT_TRUE(button.AttachTo(buttonWindow));
  EXPECT_EQ(::SendMessageA(button.tooltipWindow(), TTM_GETTOOLCOUNT, 0, 0), 0);
  button.SetTooltip(L"一");
  button.SetTooltip(L"二");
  EXPECT_EQ(::SendMessageA(button.tooltipWindow(), TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(ToolText(button.tooltipWindow(), buttonWindow), "二");
  EXPECT_EQ(button.tooltipText().value_or(L""), L"二");
}

TEST_F(ImageButtonTest, NoTextSwitchesTheTooltipOff) {
  button.SetTooltip(L"一");
  ASSERT_TRUE(button.AttachTo(buttonWindow));
  button.SetTooltip(nullptr);
  EXPECT_FALSE(button.tooltipText().has_value());
}

TEST_F(ImageButtonTest, TheTooltipGoesWithTheButtonsWindow) {
  ASSERT_TRUE(button.AttachTo(buttonWindow));
  HWND tooltip = button.tooltipWindow();
  ASSERT_TRUE(::IsWindow(tooltip));
  ::DestroyWindow(buttonWindow);
  EXPECT_FALSE(::IsWindow(tooltip));
  EXPECT_FALSE(button.attached());
}

// Faces.
TEST_F(ImageButtonTest, AssigningAFaceDeletesTheOldOne) {
  ASSERT_TRUE(button.LoadFace(ids::kAddFace));
  HBITMAP first = button.face();
  button.SetFace(UniqueHBitmap(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ids::kDeleteFace))));
  EXPECT_NE(button.face(), first);
  EXPECT_EQ(::GetObjectType(first), 0u);
}

TEST_F(ImageButtonTest, TheButtonDeletesItsLastFace) {
  HBITMAP face = nullptr;
  {
    ImageButton local;
    ASSERT_TRUE(local.LoadFace(ids::kAddFace));
    face = local.face();
    EXPECT_EQ(::GetObjectType(face), static_cast<DWORD>(OBJ_BITMAP));
  }
  EXPECT_EQ(::GetObjectType(face), 0u);
}

TEST_F(ImageButtonTest, AFaceThatDoesNotLoadLeavesNone) {
  EXPECT_FALSE(button.LoadFace(9999));
  EXPECT_EQ(button.face(), nullptr);
}

}  // namespace
}  // namespace fernwick
