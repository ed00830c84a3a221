#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/handles.h"
#include "controls/hyperlink_control.h"
#include "controls/picture_link_control.h"
#include "support/account_test_support.h"
#include "support/window_helpers.h"

namespace fernwick {
namespace {

using test::LaunchRecorder;

// What the parent window was told by its link.
struct ParentLog {
  std::vector<UINT> messages;
  std::vector<WPARAM> wParams;
  std::vector<int> notifyCodes;
};

ParentLog& Log() {
  static ParentLog log;
  return log;
}

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND || message == WM_NOTIFY) {
    Log().messages.push_back(message);
    Log().wParams.push_back(wParam);
    if (message == WM_NOTIFY) Log().notifyCodes.push_back(static_cast<int>(reinterpret_cast<NMHDR*>(lParam)->code));
    return 0;
  }
  if (message == WM_GETFONT) return reinterpret_cast<LRESULT>(::GetStockObject(DEFAULT_GUI_FONT));
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

constexpr int kLinkId = 1026;

// A parent window with one static child (kLinkId) to attach links to.
class LinkFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "FernwickLinkTestParent";
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    ::RegisterClassA(&wc);
    parent_.reset(::CreateWindowExA(0, "FernwickLinkTestParent", "parent", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr,
                                    wc.hInstance, nullptr));
    Log() = ParentLog{};
  }

  HWND MakeStatic(const wchar_t* caption, DWORD style = SS_LEFT, int width = 300, int height = 40) {
    return ::CreateWindowExW(0, L"STATIC", caption, WS_CHILD | WS_VISIBLE | style, 10, 10, width, height, parent_.get(),
                             reinterpret_cast<HMENU>(kLinkId), ::GetModuleHandleA(nullptr), nullptr);
  }

  static LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }
  static POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

  // Renders the control into a 32-bit picture and counts the pixels of one colour.
  static int CountPixels(HWND control, COLORREF colour) {
    RECT client{};
    ::GetClientRect(control, &client);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB};
    void* bits = nullptr;
    UniqueHBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    SelectScope select(dc.get(), bitmap.get());
    ::SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    ::GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    const uint32_t wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    int count = 0;
    for (int i = 0; i < client.right * client.bottom; ++i) count += (pixels[i] & 0xFFFFFF) == wanted;
    return count;
  }

  UniqueWindow parent_;
};

TEST_F(LinkFixture, LabelBecomesTheTargetWithoutOne) {
  HyperLinkControl link(HyperLinkControl::kMarkupInCaption);
  ASSERT_TRUE(link.Attach(MakeStatic(L"<A>注册为Lumora用户</A>")));
  EXPECT_EQ(link.label(), L"<A>注册为Lumora用户</A>");
  EXPECT_EQ(link.target(), L"<A>注册为Lumora用户</A>");
  EXPECT_TRUE(::GetWindowLongA(link.hwnd(), GWL_STYLE) & SS_NOTIFY);
  EXPECT_NE(link.tooltip(), nullptr);
  EXPECT_EQ(::SendMessageA(link.tooltip(), TTM_GETTOOLCOUNT, 0, 0), 1);
}

TEST_F(LinkFixture, LongCaptionIsTakenWhole) {
  // Longer than any fixed buffer would be.
  std::wstring caption = L"x";
  for (int i = 0; i < 300; ++i) caption += L"照片";
  HyperLinkControl link;
  ASSERT_TRUE(link.Attach(MakeStatic(caption.c_str())));
  ASSERT_TRUE(link.label().has_value());
  ASSERT_EQ(link.label()->size(), caption.size());
  EXPECT_EQ(link.label(), caption);
  EXPECT_EQ(link.target(), caption);
}

TEST_F(LinkFixture, MarkupPlacesTheLinkRectangle) {
  HyperLinkControl whole(HyperLinkControl::kMarkupInCaption);
  whole.SetTarget("http://x/");
  ASSERT_TRUE(whole.Attach(MakeStatic(L"<A>linktext</A>")));
  EXPECT_EQ(whole.linkRect().left, 0);
  EXPECT_GT(whole.linkRect().right, 0);

  HyperLinkControl middle(HyperLinkControl::kMarkupInCaption);
  middle.SetTarget("http://x/");
  ASSERT_TRUE(middle.Attach(MakeStatic(L"Go to <a>site</a> now")));
  EXPECT_GT(middle.linkRect().left, 0) << "starts after the prefix";
  EXPECT_LT(middle.linkRect().right, 300);
  EXPECT_LT(middle.linkRect().right - middle.linkRect().left, whole.linkRect().right - whole.linkRect().left);

  HyperLinkControl none(HyperLinkControl::kMarkupInCaption);
  none.SetTarget("http://x/");
  ASSERT_TRUE(none.Attach(MakeStatic(L"no tags at all")));
  EXPECT_EQ(none.linkRect().right - none.linkRect().left, 0) << "nothing is a link";
  EXPECT_EQ(CountPixels(none.hwnd(), none.linkColour()), 0) << "nothing is drawn";
}

TEST_F(LinkFixture, AlignmentMovesThePlainLinkRectangle) {
  HyperLinkControl left, centred, right;
  ASSERT_TRUE(left.Attach(MakeStatic(L"abc", SS_LEFT)));
  ASSERT_TRUE(centred.Attach(MakeStatic(L"abc", SS_CENTER)));
  ASSERT_TRUE(right.Attach(MakeStatic(L"abc", SS_RIGHT)));
  EXPECT_EQ(left.linkRect().left, 0);
  EXPECT_GT(centred.linkRect().left, 0);
  EXPECT_EQ(right.linkRect().right, 300);
}

TEST_F(LinkFixture, StaticsThatPaintThemselvesKeepTheirPainting) {
  HyperLinkControl frame;
  ASSERT_TRUE(frame.Attach(MakeStatic(L"", SS_BLACKFRAME)));
  EXPECT_FALSE(frame.paintsLabel());
  EXPECT_EQ(frame.linkRect().right, 300) << "the whole control is the link";
}

class ColourSettingsScope {
 public:
  ColourSettingsScope(const char* link, const char* visited) {
    ::RegCreateKeyExA(HKEY_CURRENT_USER, kBrowserSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(),
                      nullptr);
    Set("Anchor Color", link);
    Set("Anchor Color Visited", visited);
  }
  ~ColourSettingsScope() {
    ::RegDeleteValueA(key_.get(), "Anchor Color");
    ::RegDeleteValueA(key_.get(), "Anchor Color Visited");
  }

 private:
  void Set(const char* name, const char* value) {
    if (value) {
      ::RegSetValueExA(key_.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                       static_cast<DWORD>(strlen(value) + 1));
    }
  }
  UniqueHKey key_;
};

struct ColourCase {
  const char* link;
  const char* visited;
  COLORREF expectedLink;
  COLORREF expectedVisited;
};

TEST_F(LinkFixture, ColoursFromTheBrowserSettings) {
  const std::vector<ColourCase> cases = {
      {nullptr, nullptr, RGB(0, 0, 255), RGB(128, 0, 128)},
      {"255,0,0", "0,128,0", RGB(255, 0, 0), RGB(0, 128, 0)},
      {"255,0", "255 0 0", RGB(0, 0, 255), RGB(128, 0, 128)},
      {"100,100,1000", nullptr, RGB(0, 0, 255), RGB(128, 0, 128)},  // too long for the value
  };
  for (const ColourCase& c : cases) {
    ColourSettingsScope settings(c.link, c.visited);
    HyperLinkControl link;
    ASSERT_TRUE(link.Attach(MakeStatic(L"coloured")));
    EXPECT_EQ(link.linkColour(), c.expectedLink) << (c.link ? c.link : "none");
    EXPECT_EQ(link.visitedColour(), c.expectedVisited) << (c.visited ? c.visited : "none");
    ::DestroyWindow(link.hwnd());
  }
}

TEST_F(LinkFixture, RedLinkIsDrawnRed) {
  ColourSettingsScope settings("255,0,0", nullptr);
  HyperLinkControl link;
  link.SetTarget("http://x/");
  ASSERT_TRUE(link.Attach(MakeStatic(L"RED LINK TEXT")));
  EXPECT_GT(CountPixels(link.hwnd(), RGB(255, 0, 0)), 0);
  EXPECT_EQ(CountPixels(link.hwnd(), RGB(0, 0, 255)), 0);
}

TEST_F(LinkFixture, HandCursorOnlyOverTheLink) {
  HyperLinkControl link(HyperLinkControl::kMarkupInCaption);
  link.SetTarget("http://x/");
  ASSERT_TRUE(link.Attach(MakeStatic(L"prefix <A>link</A>")));
  const HCURSOR hand = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
  const HCURSOR arrow = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  ::SetCursor(arrow);
  ::SendMessageA(link.hwnd(), WM_MOUSEMOVE, 0, At(POINT{1, 1}));
  EXPECT_EQ(::GetCursor(), arrow) << "over the prefix";
  ::SendMessageA(link.hwnd(), WM_MOUSEMOVE, 0, At(Centre(link.linkRect())));
  EXPECT_EQ(::GetCursor(), hand);

  POINT inside = Centre(link.linkRect());
  ::ClientToScreen(link.hwnd(), &inside);
  ::SetCursorPos(inside.x, inside.y);
  EXPECT_EQ(::SendMessageA(link.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(link.hwnd()),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
}

TEST_F(LinkFixture, TheTooltipAppearsWhenTheMouseRestsOverTheLink) {
  PictureLinkControl picture(HyperLinkControl::kMarkupInCaption);
  HyperLinkControl text(HyperLinkControl::kMarkupInCaption);
  for (HyperLinkControl* link : {static_cast<HyperLinkControl*>(&picture), &text}) {
    link->SetTarget("http://127.0.0.1/home.aspx");
    ASSERT_TRUE(link->Attach(MakeStatic(L"see <A>my photos</A>")));
    ::ShowWindow(parent_.get(), SW_SHOW);
    EXPECT_EQ(test::TooltipAfterResting(link->hwnd(), Centre(link->linkRect())), L"http://127.0.0.1/home.aspx");
    ::DestroyWindow(link->hwnd());
  }
}

TEST_F(LinkFixture, HoverSwitchesToTheLinkFont) {
  HyperLinkControl link(HyperLinkControl::kMarkupInCaption | HyperLinkControl::kBoldLinkText |
                        HyperLinkControl::kLinkFontOnHover);
  link.SetTarget("http://x/");
  ASSERT_TRUE(link.Attach(MakeStatic(L"<A>hover me</A>")));
  const int before = CountPixels(link.hwnd(), link.linkColour());
  ::SendMessageA(link.hwnd(), WM_MOUSEMOVE, 0, At(Centre(link.linkRect())));
  EXPECT_TRUE(link.hovering());
  const int bold = CountPixels(link.hwnd(), link.linkColour());
  EXPECT_GT(bold, before) << "bold text covers more pixels";
  ::SendMessageA(link.hwnd(), WM_MOUSEMOVE, 0, At(POINT{299, 39}));
  EXPECT_FALSE(link.hovering());
  ::SendMessageA(link.hwnd(), WM_MOUSEMOVE, 0, At(Centre(link.linkRect())));
  ::SendMessageA(link.hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(link.hovering());
}

TEST_F(LinkFixture, KeyboardOpensWithEnterAndSpace) {
  HyperLinkControl link;
  link.SetTarget("http://target/");
  ASSERT_TRUE(link.Attach(MakeStatic(L"keyboard")));
  EXPECT_EQ(::SendMessageA(link.hwnd(), WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS);
  LaunchRecorder launches;
  ::SendMessageA(link.hwnd(), WM_CHAR, 'a', 0);
  EXPECT_TRUE(launches.seen.empty());
  ::SendMessageA(link.hwnd(), WM_CHAR, VK_SPACE, 0);
  ::SendMessageA(link.hwnd(), WM_CHAR, VK_RETURN, 0);
  ASSERT_EQ(launches.seen.size(), 2u);
  for (const auto& l : launches.seen) {
    EXPECT_EQ(l.kind, BrowserLaunchRequest::Kind::kShellOpen);
    EXPECT_EQ(l.text, "http://target/");
  }
}

TEST_F(LinkFixture, ClickOpensOnlyWhenPressAndReleaseAreOnTheLink) {
  HyperLinkControl link(HyperLinkControl::kMarkupInCaption);
  link.SetTarget("http://target/");
  ASSERT_TRUE(link.Attach(MakeStatic(L"see <A>here</A> please")));
  LaunchRecorder launches;
  const POINT inside = Centre(link.linkRect());
  const POINT outside{1, 1};

  ::SendMessageA(link.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(inside));
  EXPECT_EQ(::GetCapture(), link.hwnd());
  EXPECT_EQ(::GetFocus(), link.hwnd());
  ::SendMessageA(link.hwnd(), WM_LBUTTONUP, 0, At(outside));
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_TRUE(launches.seen.empty()) << "released outside";

  ::SendMessageA(link.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(outside));
  EXPECT_NE(::GetCapture(), link.hwnd());
  ::SendMessageA(link.hwnd(), WM_LBUTTONUP, 0, At(inside));
  EXPECT_TRUE(launches.seen.empty()) << "pressed outside";

  ::SendMessageA(link.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(inside));
  ::SendMessageA(link.hwnd(), WM_LBUTTONUP, 0, At(inside));
  ASSERT_EQ(launches.seen.size(), 1u);
  EXPECT_EQ(launches.seen[0].text, "http://target/");
}

TEST_F(LinkFixture, OpenedLinkTurnsVisitedColour) {
  HyperLinkControl link;
  link.SetTarget("http://target/");
  ASSERT_TRUE(link.Attach(MakeStatic(L"VISIT ME")));
  EXPECT_GT(CountPixels(link.hwnd(), RGB(0, 0, 255)), 0);
  {
    LaunchRecorder failing(false);
    EXPECT_FALSE(link.Open());
    EXPECT_FALSE(link.visited()) << "a failed open leaves it unvisited";
  }
  LaunchRecorder launches;
  EXPECT_TRUE(link.Open());
  EXPECT_TRUE(link.visited());
  EXPECT_GT(CountPixels(link.hwnd(), RGB(128, 0, 128)), 0);
  EXPECT_EQ(CountPixels(link.hwnd(), RGB(0, 0, 255)), 0);
}

TEST_F(LinkFixture, DisabledLinkIsGrey) {
  HyperLinkControl link;
  link.SetTarget("http://target/");
  ASSERT_TRUE(link.Attach(MakeStatic(L"GREY")));
  ::EnableWindow(link.hwnd(), FALSE);
  EXPECT_GT(CountPixels(link.hwnd(), ::GetSysColor(COLOR_GRAYTEXT)), 0);
  EXPECT_EQ(CountPixels(link.hwnd(), RGB(0, 0, 255)), 0);
}

TEST_F(LinkFixture, CommandAndNotifyLinksTellTheParent) {
  LaunchRecorder launches;
  HyperLinkControl command(HyperLinkControl::kCommandLink);
  ASSERT_TRUE(command.Attach(MakeStatic(L"")));
  EXPECT_TRUE(command.Open());
  HyperLinkControl notify(HyperLinkControl::kNotifyLink);
  ASSERT_TRUE(notify.Attach(MakeStatic(L"")));
  EXPECT_TRUE(notify.Open());
  EXPECT_TRUE(launches.seen.empty());
  ASSERT_EQ(Log().messages, (std::vector<UINT>{WM_COMMAND, WM_NOTIFY}));
  EXPECT_EQ(LOWORD(Log().wParams[0]), kLinkId);
  EXPECT_EQ(Log().notifyCodes, std::vector<int>{static_cast<int>(NM_CLICK)});
}

TEST_F(LinkFixture, NoTargetNoLinkOpensNothing) {
  HyperLinkControl link;
  ASSERT_TRUE(link.Attach(MakeStatic(L"")));
  LaunchRecorder launches;
  EXPECT_FALSE(link.target().has_value());
  EXPECT_FALSE(link.Open());
  EXPECT_TRUE(launches.seen.empty());
}

UniqueHBitmap RedBitmap(int width, int height) {
  WindowDc screen(nullptr);
  UniqueHBitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
  UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  SelectScope select(dc.get(), bitmap.get());
  UniqueHBrush red(::CreateSolidBrush(RGB(255, 0, 0)));
  RECT all{0, 0, width, height};
  ::FillRect(dc.get(), &all, red.get());
  return bitmap;
}

TEST_F(LinkFixture, PictureLinkDrawsItsBitmapAndOpensFromIt) {
  PictureLinkControl link;
  link.SetTarget("http://photos/home.aspx");
  ASSERT_TRUE(link.Attach(MakeStatic(L"", SS_LEFT, 52, 17)));
  link.SetBitmap(RedBitmap(52, 17));
  link.SetOptions(HyperLinkControl::kImageLeft | HyperLinkControl::kMarkupInCaption | HyperLinkControl::kBoldLinkText |
                  HyperLinkControl::kLinkFontOnHover);
  EXPECT_EQ(CountPixels(link.hwnd(), RGB(255, 0, 0)), 52 * 17);
  EXPECT_EQ(link.bitmapRect().right, 52);
  EXPECT_EQ(::SendMessageA(link.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(link.hwnd()), 0), TRUE)
      << "hand over the whole window";

  LaunchRecorder launches;
  ::SendMessageA(link.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(POINT{20, 8}));
  ::SendMessageA(link.hwnd(), WM_LBUTTONUP, 0, At(POINT{20, 30}));
  EXPECT_TRUE(launches.seen.empty()) << "released below the bitmap";
  ::SendMessageA(link.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(POINT{20, 8}));
  ::SendMessageA(link.hwnd(), WM_LBUTTONUP, 0, At(POINT{30, 10}));
  ASSERT_EQ(launches.seen.size(), 1u);
  EXPECT_EQ(launches.seen[0].text, "http://photos/home.aspx");

  link.SetTarget("http://photos/other");
  ::SendMessageA(link.hwnd(), WM_CHAR, VK_SPACE, 0);
  EXPECT_EQ(launches.seen.back().text, "http://photos/other");
}

TEST_F(LinkFixture, OnlyThePictureLinkAnswersReflectedMessages) {
  PictureLinkControl picture;
  ASSERT_TRUE(picture.Attach(MakeStatic(L"", SS_LEFT, 52, 17)));
  HyperLinkControl text;
  ASSERT_TRUE(text.Attach(MakeStatic(L"text")));
  UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  const WPARAM dcParam = reinterpret_cast<WPARAM>(dc.get());
  EXPECT_NE(::SendMessageA(picture.hwnd(), 0x2000 + WM_CTLCOLORSTATIC, dcParam, 0), 0)
      << "the default answer is a brush";
  EXPECT_TRUE(IsReflectedMessage(0x2000 + WM_DRAWITEM));
  EXPECT_TRUE(IsReflectedMessage(0x2000 + WM_PARENTNOTIFY));
  EXPECT_FALSE(IsReflectedMessage(WM_DRAWITEM));
  EXPECT_FALSE(IsReflectedMessage(0x2000 + WM_PAINT));
}

}  // namespace
}  // namespace fernwick
