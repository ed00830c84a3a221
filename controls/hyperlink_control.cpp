#include "controls/hyperlink_control.h"

#include <commctrl.h>
#include <windowsx.h>

#include "base/browser_launch.h"
#include "base/module.h"
#include "controls/control_text.h"
#include "controls/core/link_text.h"

namespace fernwick {

namespace {

constexpr UINT_PTR kToolId = 1;

bool IsStaticClass(HWND window) {
  char name[16] = {};
  ::GetClassNameA(window, name, sizeof(name));
  return ::lstrcmpiA(name, "static") == 0;
}

// Icons, rectangles, frames, owner-drawn, bitmaps and metafiles paint themselves.
bool StaticTypePaintsItself(LONG style) {
  const LONG type = style & 0xFF;
  return (type >= 3 && type <= 9) || (type >= 13 && type <= 15);
}

RECT MeasureText(HDC dc, HFONT font, const std::string& text, RECT within, UINT format) {
  SelectScope select(dc, font);
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &within, format | DT_CALCRECT);
  return within;
}

}  // namespace

HyperLinkControl::~HyperLinkControl() { Detach(); }

void HyperLinkControl::OnAttached() {
  HWND window = hwnd();
  if (IsStaticClass(window)) {
    const LONG style = ::GetWindowLongA(window, GWL_STYLE);
    ::SetWindowLongA(window, GWL_STYLE, style | SS_NOTIFY);
    if (StaticTypePaintsItself(style)) paintLabel_ = false;
  }
  handCursor_ = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND

  if (paintLabel_) {
    normalFont_ = reinterpret_cast<HFONT>(::SendMessageA(::GetParent(window), WM_GETFONT, 0, 0));
    if (!normalFont_) normalFont_ = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    if (!ownLinkFont_) {
      LOGFONTA description{};
      ::GetObjectA(normalFont_, sizeof(description), &description);
      if ((options_ & kMarkupInCaption) && (options_ & kBoldLinkText)) {
        description.lfWeight = FW_BOLD;
      } else if (!(options_ & kNoUnderline)) {
        description.lfUnderline = TRUE;
      }
      ownLinkFont_.reset(::CreateFontIndirectA(&description));
    }
  }

  tooltip_.reset(::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, ModuleInstance(),
                                   nullptr));

  if (!label_) {
    // Read whole: a fixed buffer would cut a long caption, perhaps inside a double-byte character.
    if (std::string caption = WindowText(window); !caption.empty()) SetLabel(caption);
  }
  ComputeLinkRect();
  if (target_ || (options_ & kCommandLink)) {
    UpdateTooltipTool();
  } else if (label_) {
    SetTarget(*label_);
  }
  if (paintLabel_) colours_ = ReadBrowserLinkColours();
}

bool HyperLinkControl::SetLabel(const std::string& label) {
  try {
    label_ = label;
  } catch (...) {
    label_.reset();
    return false;
  }
  if (!attached()) return true;
  ComputeLinkRect();
  // The static would paint the raw caption itself while its text changes; our own painting
  // follows from the invalidation instead.
  ::SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
  ::SetWindowTextA(hwnd(), label.c_str());
  ::SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return true;
}

bool HyperLinkControl::SetTarget(const std::string& target) {
  try {
    target_ = target;
  } catch (...) {
    target_.reset();
    return false;
  }
  if (!attached()) return true;
  if (!label_) ComputeLinkRect();
  UpdateTooltipTool();
  return true;
}

void HyperLinkControl::UpdateTooltipTool() {
  if (!tooltip_) return;
  TTTOOLINFOA tool{sizeof(tool)};
  tool.hwnd = hwnd();
  tool.uId = kToolId;
  if (toolAdded_) ::SendMessageA(tooltip_.get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessageA(tooltip_.get(), TTM_ACTIVATE, TRUE, 0);
  tool.rect = linkRect_;
  std::string text = target_.value_or(std::string());
  tool.lpszText = text.data();
  toolAdded_ = ::SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
}

void HyperLinkControl::SetLinkRect(const RECT& rect) {
  linkRect_ = rect;
  if (tooltip_ && toolAdded_) {
    TTTOOLINFOA tool{sizeof(tool)};
    tool.hwnd = hwnd();
    tool.uId = kToolId;
    tool.rect = rect;
    ::SendMessageA(tooltip_.get(), TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

std::string HyperLinkControl::TextToDraw() const {
  if (label_) return *label_;
  return target_.value_or(std::string());
}

void HyperLinkControl::ComputeLinkRect() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  if (!paintLabel_) {
    SetLinkRect(client);
    return;
  }
  WindowDc dc(hwnd());
  const std::string text = TextToDraw();
  if (options_ & kMarkupInCaption) {
    const LinkMarkup markup = ParseLinkMarkup(text);
    LONG left = client.left;
    if (!markup.prefix.empty()) left = MeasureText(dc.get(), normalFont_, markup.prefix, client, DT_WORDBREAK).right;
    RECT from{left, client.top, client.right, client.bottom};
    if (markup.link.empty()) {
      SetLinkRect(RECT{left, client.top, left, client.top});  // nothing to click
      return;
    }
    SetLinkRect(MeasureText(dc.get(), ownLinkFont_.get(), markup.link, from, DT_WORDBREAK));
    return;
  }
  RECT rect = MeasureText(dc.get(), ownLinkFont_.get(), text, client, DT_WORDBREAK | DT_LEFT);
  const LONG style = ::GetWindowLongA(hwnd(), GWL_STYLE) & SS_TYPEMASK;
  const LONG free = (client.right - client.left) - (rect.right - rect.left);
  if (style == SS_CENTER && free > 0) {
    ::OffsetRect(&rect, free / 2, 0);
  } else if (style == SS_RIGHT && free > 0) {
    ::OffsetRect(&rect, free, 0);
  }
  SetLinkRect(rect);
}

void HyperLinkControl::FillBackground(HDC dc, const RECT& client) {
  auto brush = reinterpret_cast<HBRUSH>(::SendMessageA(::GetParent(hwnd()), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd())));
  if (brush) ::FillRect(dc, &client, brush);
}

HFONT HyperLinkControl::LinkTextFont() const {
  if ((options_ & kLinkFontOnHover) && !hovering_) return normalFont_;
  return ownLinkFont_ ? ownLinkFont_.get() : normalFont_;
}

void HyperLinkControl::Paint(HDC dc) {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  FillBackground(dc, client);
  ::SetBkMode(dc, TRANSPARENT);
  const COLORREF contextColour = ::GetTextColor(dc);
  COLORREF colour = visited_ ? colours_.visited : colours_.link;
  if (!::IsWindowEnabled(hwnd())) colour = ::GetSysColor(COLOR_GRAYTEXT);
  const std::string text = TextToDraw();

  if (options_ & kMarkupInCaption) {
    const LinkMarkup markup = ParseLinkMarkup(text);
    {
      SelectScope font(dc, normalFont_);
      RECT prefixRect = client;
      ::DrawTextA(dc, markup.prefix.c_str(), static_cast<int>(markup.prefix.size()), &prefixRect, DT_WORDBREAK);
    }
    {
      SelectScope font(dc, LinkTextFont());
      ::SetTextColor(dc, colour);
      RECT linkRect = linkRect_;
      ::DrawTextA(dc, markup.link.c_str(), static_cast<int>(markup.link.size()), &linkRect, DT_WORDBREAK);
    }
    {
      SelectScope font(dc, normalFont_);
      ::SetTextColor(dc, contextColour);
      RECT suffixRect{linkRect_.right, linkRect_.top, client.right, client.bottom};
      ::DrawTextA(dc, markup.suffix.c_str(), static_cast<int>(markup.suffix.size()), &suffixRect, DT_WORDBREAK);
    }
  } else {
    SelectScope font(dc, LinkTextFont());
    ::SetTextColor(dc, colour);
    UINT align = DT_LEFT;
    const LONG type = ::GetWindowLongA(hwnd(), GWL_STYLE) & SS_TYPEMASK;
    if (type == SS_CENTER) align = DT_CENTER;
    if (type == SS_RIGHT) align = DT_RIGHT;
    RECT rect = linkRect_;
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_WORDBREAK | align);
  }
  if (::GetFocus() == hwnd()) {
    RECT focus = linkRect_;
    ::DrawFocusRect(dc, &focus);
  }
}

void HyperLinkControl::PaintMessage(HDC given) {
  if (given) {
    Paint(given);
    return;
  }
  PaintDc paint(hwnd());
  if (paint.get()) Paint(paint.get());
}

void HyperLinkControl::RepaintLink(bool now) {
  ::InvalidateRect(hwnd(), paintLabel_ ? &linkRect_ : nullptr, TRUE);
  if (now) ::UpdateWindow(hwnd());
}

bool HyperLinkControl::IsActiveAt(POINT point) const { return ::PtInRect(&linkRect_, point) != 0; }

bool HyperLinkControl::OnSetCursor(LRESULT& result) {
  POINT point{};
  ::GetCursorPos(&point);
  ::ScreenToClient(hwnd(), &point);
  if (!reactsToMouse() || !::PtInRect(&linkRect_, point)) return false;
  ::SetCursor(handCursor_);
  result = TRUE;
  return true;
}

bool HyperLinkControl::OnReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void HyperLinkControl::OnMouseMove(POINT point) {
  const bool inside = ::PtInRect(&linkRect_, point) != 0;
  if (reactsToMouse() && inside) {
    ::SetCursor(handCursor_);
    if ((options_ & kLinkFontOnHover) && !hovering_) {
      hovering_ = true;
      RepaintLink(true);
      TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd(), 0};
      ::TrackMouseEvent(&track);
    }
  } else if (!inside && hovering_) {
    hovering_ = false;
    RepaintLink(true);
  }
}

bool HyperLinkControl::Open() {
  HWND parent = ::GetParent(hwnd());
  const int id = ::GetDlgCtrlID(hwnd());
  if ((options_ & kNotifyLink) == kNotifyLink) {
    NMHDR header{hwnd(), static_cast<UINT_PTR>(id), static_cast<UINT>(NM_CLICK)};
    ::SendMessageA(parent, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
    return true;
  }
  if (options_ & kCommandLink) {
    ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(hwnd()));
    return true;
  }
  if (!target_ || !ShellOpen(hwnd(), *target_)) return false;
  visited_ = true;
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return true;
}

bool HyperLinkControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && tooltip_ && !(options_ & kNoTooltip)) {
    MSG relayed{hwnd(), message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
    ::SendMessageA(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_MOUSEMOVE:
      OnMouseMove(point);
      return false;
    case WM_MOUSELEAVE:
      if (options_ & kLinkFontOnHover) {
        hovering_ = false;
        RepaintLink(false);
      }
      result = 0;
      return true;
    case WM_SETCURSOR:
      return OnSetCursor(result);
    case WM_LBUTTONDOWN:
      if (IsActiveAt(point)) {
        ::SetFocus(hwnd());
        ::SetCapture(hwnd());
      }
      result = 0;
      return true;
    case WM_LBUTTONUP:
      if (::GetCapture() == hwnd()) {
        ::ReleaseCapture();
        if (IsActiveAt(point)) Open();
      }
      result = 0;
      return true;
    case WM_GETDLGCODE:
      result = DLGC_WANTCHARS;
      return true;
    case WM_CHAR:
      if (wParam == 13 || wParam == 32) Open();
      result = 0;
      return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (paintLabel_) ::InvalidateRect(hwnd(), nullptr, TRUE);
      result = 0;
      return true;
    case WM_ENABLE:
      ::InvalidateRect(hwnd(), nullptr, TRUE);
      ::UpdateWindow(hwnd());
      result = 0;
      return true;
    case WM_SETFONT:
      normalFont_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) ::InvalidateRect(hwnd(), nullptr, TRUE);
      result = 0;
      return true;
    case WM_GETFONT:
      result = reinterpret_cast<LRESULT>(normalFont_);
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_UPDATEUISTATE:
      result = 0;
      return true;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (!paintLabel_) return false;
      PaintMessage(reinterpret_cast<HDC>(wParam));
      result = 0;
      return true;
    case WM_DESTROY:
      tooltip_.reset();
      toolAdded_ = false;
      return false;
    default:
      break;
  }
  if (IsReflectedMessage(message)) return OnReflected(message, wParam, lParam, result);
  return false;
}

}  // namespace fernwick
