#include "controls/hyperlink_control.h"

#include <commctrl.h>
#include <windowsx.h>

#include "base/browser_launch.h"
#include "controls/control_text.h"
#include "controls/tooltip.h"
#include "base/log.h"
#include "base/text_936.h"

#include <iterator>

namespace fernwick {

namespace {

// The one area tool of the link's tooltip: the link rectangle.
constexpr UINT_PTR kToolId = 1;

bool IsStaticClass(HWND window) {
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return ::lstrcmpiW(name, L"static") == 0;
}

// Icons, rectangles, frames, owner-drawn, bitmaps and metafiles paint themselves. The type is
// read from the whole low byte, so such a type with SS_NOPREFIX added is painted as text.
bool StaticTypePaintsItself(LONG style) {
  const LONG type = LOBYTE(style);
  return (type >= SS_ICON && type <= SS_WHITEFRAME) || (type >= SS_OWNERDRAW && type <= SS_ENHMETAFILE);
}

}  // namespace

HyperLinkControl::~HyperLinkControl() { Detach(); }

void HyperLinkControl::OnAttached() {
  HWND window = hwnd();
  if (IsStaticClass(window)) {
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    ::SetWindowLongW(window, GWL_STYLE, style | SS_NOTIFY);  // a plain static passes clicks on
    if (StaticTypePaintsItself(style)) paintLabel_ = false;
  }
  handCursor_ = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));  // IDC_HAND
  if (paintLabel_) ChooseFonts();
  tooltip_ = CreateTooltipWindow(window);

  if (!label_) {
    // Read whole: a fixed buffer would cut a long caption.
    if (std::wstring caption = WindowText(window); !caption.empty()) SetLabel(caption);
  }
  ComputeLinkRect();
  if (target_ || (options_ & kCommandLink)) {
    UpdateTooltipTool();
  } else if (label_) {
    SetTarget(*label_);
  }
  if (paintLabel_) colours_ = ReadBrowserLinkColours();
}

// The normal font is the parent's; the link font is derived from it once, with the options
// present now.
void HyperLinkControl::ChooseFonts() {
  normalFont_ = reinterpret_cast<HFONT>(::SendMessageW(::GetParent(hwnd()), WM_GETFONT, 0, 0));
  if (!normalFont_) normalFont_ = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
  if (ownLinkFont_) return;
  DeriveLinkFont();
}

void HyperLinkControl::DeriveLinkFont() {
  LOGFONTW description{};
  ::GetObjectW(normalFont_, sizeof(description), &description);
  if ((options_ & kMarkupInCaption) && (options_ & kBoldLinkText)) {
    description.lfWeight = FW_BOLD;
  } else if (!(options_ & kNoUnderline)) {
    description.lfUnderline = TRUE;
  }
  ownLinkFont_.reset(::CreateFontIndirectW(&description));
}

bool HyperLinkControl::SetLabel(const std::wstring& label) {
  try {
    label_ = label;
  } catch (...) {
    LogCaughtException("link caption");
    label_.reset();
    return false;
  }
  if (!attached()) return true;
  ComputeLinkRect();
  // The static would paint the raw caption itself while its text changes; our own painting
  // follows from the invalidation instead.
  ::SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
  ::SetWindowTextW(hwnd(), label.c_str());
  ::SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return true;
}

bool HyperLinkControl::SetTarget(const std::string& address) { return SetTarget(WideFromUtf8(address)); }

bool HyperLinkControl::SetTarget(const std::wstring& target) {
  try {
    target_ = target;
  } catch (...) {
    LogCaughtException("link target");
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
  ActivateTooltip(tooltip_.get(), true);
  const std::wstring text = target_.value_or(std::wstring());
  if (toolAdded_) {
    SetAreaTool(tooltip_.get(), hwnd(), kToolId, linkRect_, text.c_str());
  } else {
    toolAdded_ = AddAreaTool(tooltip_.get(), hwnd(), kToolId, linkRect_, text.c_str());
  }
}

void HyperLinkControl::SetLinkRect(const RECT& rect) {
  linkRect_ = rect;
  if (toolAdded_) SetAreaTool(tooltip_.get(), hwnd(), kToolId, rect, nullptr);
}

void HyperLinkControl::RepaintLink(bool now) {
  ::InvalidateRect(hwnd(), paintLabel_ ? &linkRect_ : nullptr, TRUE);
  if (now) ::UpdateWindow(hwnd());
}

bool HyperLinkControl::IsActiveAt(POINT point) const { return ::PtInRect(&linkRect_, point) != 0; }

std::optional<LRESULT> HyperLinkControl::OnSetCursor() {
  POINT point{};
  ::GetCursorPos(&point);
  ::ScreenToClient(hwnd(), &point);
  if (!reactsToMouse() || !::PtInRect(&linkRect_, point)) return std::nullopt;
  ::SetCursor(handCursor_);
  return TRUE;
}

std::optional<LRESULT> HyperLinkControl::OnReflected(UINT, WPARAM, LPARAM) { return std::nullopt; }

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
    ::SendMessageW(parent, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
    return true;
  }
  if (options_ & kCommandLink) {
    ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(hwnd()));
    return true;
  }
  if (!target_ || !ShellOpen(hwnd(), Utf8FromWide(*target_))) return false;
  visited_ = true;
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return true;
}

LRESULT HyperLinkControl::OnMouseLeave() {
  if (options_ & kLinkFontOnHover) {
    hovering_ = false;
    RepaintLink(false);
  }
  return 0;
}

LRESULT HyperLinkControl::OnLeftButtonDown(POINT point) {
  if (IsActiveAt(point)) {
    ::SetFocus(hwnd());
    ::SetCapture(hwnd());
  }
  return 0;
}

// Only a press and a release both on the link open it.
LRESULT HyperLinkControl::OnLeftButtonUp(POINT point) {
  if (::GetCapture() != hwnd()) return 0;
  ::ReleaseCapture();
  if (IsActiveAt(point)) Open();
  return 0;
}

LRESULT HyperLinkControl::OnChar(WPARAM character) {
  if (character == '\r' || character == ' ') Open();
  return 0;
}

LRESULT HyperLinkControl::OnFocusChange() {
  if (paintLabel_) ::InvalidateRect(hwnd(), nullptr, TRUE);
  return 0;
}

LRESULT HyperLinkControl::OnEnable() {
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  ::UpdateWindow(hwnd());
  return 0;
}

LRESULT HyperLinkControl::OnSetFont(HFONT font, bool redraw) {
  // A dialog moved to a screen of another DPI sets its controls a font made for that DPI;
  // the link font, derived from the old one, would keep the old size.
  const bool derivedBefore = ownLinkFont_ && font && font != normalFont_;
  normalFont_ = font;
  if (derivedBefore) {
    DeriveLinkFont();
    ComputeLinkRect();
  }
  if (redraw) ::InvalidateRect(hwnd(), nullptr, TRUE);
  return 0;
}

// A static that shows an image or a frame paints itself.
std::optional<LRESULT> HyperLinkControl::OnPaint(HDC given) {
  if (!paintLabel_) return std::nullopt;
  PaintMessage(given);
  return 0;
}

void HyperLinkControl::OnDestroy() {
  tooltip_.reset();
  toolAdded_ = false;
}

std::optional<LRESULT> HyperLinkControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && !(options_ & kNoTooltip)) {
    RelayToTooltip(tooltip_.get(), hwnd(), message, wParam, lParam);
  }
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_MOUSEMOVE:
      OnMouseMove(point);
      return std::nullopt;
    case WM_MOUSELEAVE:
      return OnMouseLeave();
    case WM_SETCURSOR:
      return OnSetCursor();
    case WM_LBUTTONDOWN:
      return OnLeftButtonDown(point);
    case WM_LBUTTONUP:
      return OnLeftButtonUp(point);
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS;
    case WM_CHAR:
      return OnChar(wParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      return OnFocusChange();
    case WM_ENABLE:
      return OnEnable();
    case WM_SETFONT:
      return OnSetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(normalFont_);
    case WM_ERASEBKGND:
      return 1;  // painting fills the background itself
    case WM_UPDATEUISTATE:
      return 0;  // no keyboard cues are drawn
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return OnPaint(reinterpret_cast<HDC>(wParam));
    case WM_DESTROY:
      OnDestroy();
      return std::nullopt;
    default:
      break;
  }
  if (IsReflectedMessage(message)) return OnReflected(message, wParam, lParam);
  return std::nullopt;
}

}  // namespace fernwick
