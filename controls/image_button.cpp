#include "controls/image_button.h"

#include <windowsx.h>

#include "base/core/dpi_scale.h"
#include "base/module.h"
#include "controls/reflection.h"
#include "controls/tooltip.h"

namespace fernwick {

ImageButton::~ImageButton() {
  // The tooltip is owned by the button's window; if that window outlives this object, the
  // tooltip must not outlive the object that relays to it.
  Detach();
  tooltipWindow_.reset();
}

bool ImageButton::AttachTo(HWND window) {
  if (attached() || !Attach(window)) return false;
  Initialise();
  return true;
}

void ImageButton::Initialise() {
  // Style bits only: the frame stays as it is.
  const LONG style = ::GetWindowLongW(hwnd(), GWL_STYLE);
  ::SetWindowLongW(hwnd(), GWL_STYLE, (style & ~BS_TYPEMASK) | BS_OWNERDRAW);
  tooltipWindow_ = CreateTooltipWindow(hwnd());
  if (tooltipText_) AddTooltipTool();
}

void ImageButton::AddTooltipTool() {
  if (!tooltipWindow_ || !tooltipText_) return;
  ActivateTooltip(tooltipWindow_.get(), true);
  // A new text replaces the old tool rather than stacking a second one on the same window.
  RemoveTool(tooltipWindow_.get(), hwnd());
  AddTool(tooltipWindow_.get(), hwnd(), tooltipText_->c_str());
}

bool ImageButton::SetTooltip(const wchar_t* text) {
  tooltipText_.reset();
  if (!text || !*text) {
    ActivateTooltip(tooltipWindow_.get(), false);
    return true;
  }
  tooltipText_.emplace(text);
  if (attached()) AddTooltipTool();
  return true;
}

void ImageButton::SetFace(UniqueHBitmap face) { face_ = std::move(face); }

bool ImageButton::LoadFace(int id, int dpi) {
  face_.reset();
  const int nearest = BitmapIdForDpi(id, dpi);
  face_.reset(::LoadBitmapW(ModuleInstance(), MAKEINTRESOURCEW(nearest)));
  if (!face_ && nearest != id) face_.reset(::LoadBitmapW(ModuleInstance(), MAKEINTRESOURCEW(id)));
  return static_cast<bool>(face_);
}

void ImageButton::Draw(const DRAWITEMSTRUCT& item) const {
  HDC target = item.hDC;
  UniqueMemoryDc memory(::CreateCompatibleDC(target));
  if (!memory) return;
  const int savedTarget = ::SaveDC(target);
  const int savedMemory = ::SaveDC(memory.get());
  BITMAP size{};
  if (face_ && ::GetObjectW(face_.get(), sizeof(size), &size)) {
    // Copied at its own size: the face is drawn for the window's DPI, never stretched.
    ::SelectObject(memory.get(), face_.get());
    const int shift = (item.itemState & ODS_SELECTED) ? 1 : 0;
    ::BitBlt(target, shift, shift, size.bmWidth, size.bmHeight, memory.get(), 0, 0, SRCCOPY);
  }
  ::RestoreDC(memory.get(), savedMemory);
  ::RestoreDC(target, savedTarget);
}

void ImageButton::Repaint() const {
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  ::UpdateWindow(hwnd());
}

void ImageButton::SetStateBit(unsigned bit, bool on) {
  const unsigned next = on ? (state_ | bit) : (state_ & ~bit);
  if (next == state_) return;
  state_ = next;
  Repaint();
}

LRESULT ImageButton::OnReflected(UINT message, WPARAM wParam, LPARAM lParam) {
  const UINT original = message - kReflectionOffset;
  switch (original) {
    case WM_DRAWITEM:
      Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
      return TRUE;
    case WM_COMPAREITEM:
      return 0;
    default:
      return ::DefWindowProcW(hwnd(), original, wParam, lParam);
  }
}

LRESULT ImageButton::OnLeftButtonDown(WPARAM wParam, LPARAM lParam) {
  // The standard button pushes itself and captures the mouse; the face follows it. The
  // second click of a double click is an ordinary press: an owner-drawn button would
  // otherwise send BN_DOUBLECLICKED besides the click, and the main window acts on every
  // command with the button's id, so two quick clicks on Rotate would turn three times.
  const LRESULT result = DefaultProc(WM_LBUTTONDOWN, wParam, lParam);
  if (::GetCapture() == hwnd()) SetStateBit(kPressed, true);
  return result;
}

LRESULT ImageButton::OnLeftButtonUp(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefaultProc(WM_LBUTTONUP, wParam, lParam);
  if (::GetCapture() == hwnd()) ::ReleaseCapture();
  return result;
}

void ImageButton::OnMouseMove(POINT point) {
  if (::GetCapture() != hwnd()) return;
  ::ClientToScreen(hwnd(), &point);
  RECT bounds{};
  ::GetWindowRect(hwnd(), &bounds);
  SetStateBit(kPressed, ::PtInRect(&bounds, point) != FALSE);
}

std::optional<LRESULT> ImageButton::OnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  RelayToTooltip(tooltipWindow_.get(), hwnd(), message, wParam, lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return OnLeftButtonDown(wParam, lParam);
    case WM_LBUTTONUP:
      return OnLeftButtonUp(wParam, lParam);
    case WM_MOUSEMOVE:
      OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<LRESULT> ImageButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) return OnMouse(message, wParam, lParam);
  if (IsReflectedMessage(message)) return OnReflected(message, wParam, lParam);
  switch (message) {
    case WM_SETFOCUS:
      state_ |= kFocused;
      Repaint();
      return std::nullopt;
    case WM_KILLFOCUS:
      state_ &= ~kFocused;
      Repaint();
      return std::nullopt;
    case WM_ENABLE:
      Repaint();
      return std::nullopt;
    case WM_CAPTURECHANGED:
      SetStateBit(kPressed, false);
      return std::nullopt;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (wParam == VK_SPACE) SetStateBit(kPressed, message == WM_KEYDOWN);
      return std::nullopt;
    case WM_UPDATEUISTATE:
      // Keyboard cues are not drawn, so their changes need no repaint.
      return 0;
    case WM_DESTROY:
      tooltipWindow_.reset();
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace fernwick
