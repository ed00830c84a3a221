#include "controls/picture_link_control.h"

#include "base/module.h"

namespace fernwick {

namespace {
constexpr int kGapAfterImage = 5;

// One cursor for every picture link; system cursors are shared and never destroyed.
HCURSOR PictureLinkCursor() {
  static const HCURSOR cursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));  // IDC_HAND
  return cursor;
}
}  // namespace

bool PictureLinkControl::LoadBitmapResource(int id) {
  UniqueHBitmap loaded(
      static_cast<HBITMAP>(::LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  if (!loaded) return false;
  SetBitmap(std::move(loaded));
  return true;
}

void PictureLinkControl::SetBitmap(UniqueHBitmap bitmap) {
  bitmap_ = std::move(bitmap);
  if (attached()) {
    ComputeLinkRect();
    ::InvalidateRect(hwnd(), nullptr, TRUE);
  }
}

SIZE PictureLinkControl::BitmapSize() const {
  BITMAP info{};
  if (!bitmap_ || !::GetObjectW(bitmap_.get(), sizeof(info), &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

void PictureLinkControl::ComputeLinkRect() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const SIZE size = BitmapSize();
  RECT link = client;
  if (options() & kImageLeft) {
    bitmapRect_ = RECT{client.left, client.top, client.left + size.cx, client.top + size.cy};
    link.left = client.left + size.cx + kGapAfterImage;
  } else if (options() & kImageRight) {
    bitmapRect_ = RECT{client.right - size.cx, client.top, client.right, client.top + size.cy};
    link.right = client.right - size.cx;
  } else {
    bitmapRect_ = RECT{client.left, client.top, client.left + size.cx, client.top + size.cy};
  }
  if (link.left > link.right) link.left = link.right;
  SetLinkRect(link);
}

void PictureLinkControl::Paint(HDC dc) {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  FillBackground(dc, client);
  ComputeLinkRect();  // records where the bitmap is for the mouse
  if (bitmap_) {
    const SIZE size = BitmapSize();
    ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap_.get()), 0, bitmapRect_.left, bitmapRect_.top,
                 size.cx, size.cy, DST_BITMAP);
  }
}

bool PictureLinkControl::IsActiveAt(POINT point) const {
  return HyperLinkControl::IsActiveAt(point) || ::PtInRect(&bitmapRect_, point);
}

// The whole window shows the hand, not only the link rectangle.
std::optional<LRESULT> PictureLinkControl::OnSetCursor() {
  ::SetCursor(PictureLinkCursor());
  return TRUE;
}

std::optional<LRESULT> PictureLinkControl::OnReflected(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(hwnd(), message - kReflectionOffset, wParam, lParam);
}

std::optional<LRESULT> PictureLinkControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The bitmap is drawn whatever the static's type, so painting never falls to the static.
  if (message == WM_PAINT || message == WM_PRINTCLIENT) {
    PaintMessage(reinterpret_cast<HDC>(wParam));
    return 0;
  }
  if (message == WM_SIZE) ComputeLinkRect();
  return HyperLinkControl::OnMessage(message, wParam, lParam);
}

}  // namespace fernwick
