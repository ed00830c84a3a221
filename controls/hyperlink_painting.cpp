// HyperLinkControl painting: the link, its prefix and suffix, the focus frame, and where the
// link text falls in the control (measured with the fonts it is painted in).
#include "controls/hyperlink_control.h"

#include "controls/core/link_text.h"

namespace fernwick {

namespace {

UINT StaticAlignment(HWND window) {
  switch (::GetWindowLongW(window, GWL_STYLE) & SS_TYPEMASK) {
    case SS_CENTER:
      return DT_CENTER;
    case SS_RIGHT:
      return DT_RIGHT;
    default:
      return DT_LEFT;
  }
}

RECT MeasureText(HDC dc, HFONT font, const std::wstring& text, RECT within, UINT format) {
  SelectScope select(dc, font);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &within, format | DT_CALCRECT);
  return within;
}

}  // namespace

std::wstring HyperLinkControl::TextToDraw() const {
  if (label_) return *label_;
  return target_.value_or(std::wstring());
}

void HyperLinkControl::ComputeLinkRect() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  if (!paintLabel_) {
    SetLinkRect(client);
    return;
  }
  WindowDc dc(hwnd());
  const std::wstring text = TextToDraw();
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
  const UINT alignment = StaticAlignment(hwnd());
  const LONG free = (client.right - client.left) - (rect.right - rect.left);
  if (alignment == DT_CENTER && free > 0) {
    ::OffsetRect(&rect, free / 2, 0);
  } else if (alignment == DT_RIGHT && free > 0) {
    ::OffsetRect(&rect, free, 0);
  }
  SetLinkRect(rect);
}

void HyperLinkControl::FillBackground(HDC dc, const RECT& client) {
  auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(::GetParent(hwnd()), WM_CTLCOLORSTATIC,
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
  COLORREF colour = visited_ ? colours_.visited : colours_.link;
  if (!::IsWindowEnabled(hwnd())) colour = ::GetSysColor(COLOR_GRAYTEXT);
  if (options_ & kMarkupInCaption) {
    PaintMarkup(dc, client, colour);
  } else {
    PaintWhole(dc, colour);
  }
  if (::GetFocus() == hwnd()) {
    RECT focus = linkRect_;
    ::DrawFocusRect(dc, &focus);
  }
}

// Prefix and suffix keep the colour the parent's WM_CTLCOLORSTATIC answer left in the context.
void HyperLinkControl::PaintMarkup(HDC dc, const RECT& client, COLORREF linkColour) const {
  const COLORREF contextColour = ::GetTextColor(dc);
  const LinkMarkup markup = ParseLinkMarkup(TextToDraw());
  {
    SelectScope font(dc, normalFont_);
    RECT prefixRect = client;
    ::DrawTextW(dc, markup.prefix.c_str(), static_cast<int>(markup.prefix.size()), &prefixRect, DT_WORDBREAK);
  }
  {
    SelectScope font(dc, LinkTextFont());
    ::SetTextColor(dc, linkColour);
    RECT linkRect = linkRect_;
    ::DrawTextW(dc, markup.link.c_str(), static_cast<int>(markup.link.size()), &linkRect, DT_WORDBREAK);
  }
  SelectScope font(dc, normalFont_);
  ::SetTextColor(dc, contextColour);
  RECT suffixRect{linkRect_.right, linkRect_.top, client.right, client.bottom};
  ::DrawTextW(dc, markup.suffix.c_str(), static_cast<int>(markup.suffix.size()), &suffixRect, DT_WORDBREAK);
}

void HyperLinkControl::PaintWhole(HDC dc, COLORREF linkColour) const {
  SelectScope font(dc, LinkTextFont());
  ::SetTextColor(dc, linkColour);
  const std::wstring text = TextToDraw();
  RECT rect = linkRect_;
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_WORDBREAK | StaticAlignment(hwnd()));
}

void HyperLinkControl::PaintMessage(HDC given) {
  if (given) {
    Paint(given);
    return;
  }
  PaintDc paint(hwnd());
  if (paint.get()) Paint(paint.get());
}

}  // namespace fernwick
