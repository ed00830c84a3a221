// The view's scrolling: two scroll bars over the content size, line and page steps, the
// thumb, and the mouse wheel.
#include <algorithm>

#include "thumbview/thumbnail_view.h"

namespace fernwick {

namespace {
ScrollRequest RequestFor(WORD code) {
  switch (code) {
    case SB_LINEUP:
      return ScrollRequest::LineUp;
    case SB_LINEDOWN:
      return ScrollRequest::LineDown;
    case SB_PAGEUP:
      return ScrollRequest::PageUp;
    case SB_PAGEDOWN:
      return ScrollRequest::PageDown;
    case SB_TOP:
      return ScrollRequest::Top;
    case SB_BOTTOM:
      return ScrollRequest::Bottom;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      return ScrollRequest::Thumb;
    default:
      return ScrollRequest::None;
  }
}
}  // namespace

void ThumbnailView::ReadWheelLines() {
  UINT lines = 3;
  if (::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) wheelLines_ = static_cast<int32_t>(lines);
}

void ThumbnailView::UpdateScrollBars() {
  UpdateScrollBar(SB_HORZ);
  UpdateScrollBar(SB_VERT);
}

void ThumbnailView::UpdateScrollBar(int bar) {
  if (!hwnd()) return;
  const ScrollAxis& axis = bar == SB_HORZ ? scrollX_ : scrollY_;
  SCROLLINFO info{sizeof(info)};
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = axis.content - 1;
  info.nPage = static_cast<UINT>(std::max(axis.client, 0));
  info.nPos = axis.offset;
  ::SetScrollInfo(hwnd(), bar, &info, FALSE);
  // While photos arrive, each new row would draw the bars again (4 to 10 ms under Wine), most of
  // the window thread's time in an add of small photos: they wait for a timer, or the add's end.
  if (addRunning_) {
    if (!barsDue_) barsDue_ = ::SetTimer(hwnd(), kBarsTimer, kBarsWhileAddingMs, nullptr) != 0;
    if (barsDue_) return;
  }
  RedrawBarsLater();
}

void ThumbnailView::RedrawDueBars() {
  if (!barsDue_) return;
  barsDue_ = false;
  ::KillTimer(hwnd(), kBarsTimer);
  RedrawBarsLater();
}

// A bar set with its redraw draws itself at once, a round trip to the display each time (a
// wheel notch's largest cost but the cells', and milliseconds per row while photos arrive under
// load). The frame around the client area is marked instead and drawn with the next paint.
void ThumbnailView::RedrawBarsLater() {
  RECT window{};
  RECT client{};
  POINT origin{0, 0};
  if (!::GetWindowRect(hwnd(), &window) || !::GetClientRect(hwnd(), &client) || !::ClientToScreen(hwnd(), &origin)) {
    return;
  }
  // The whole window in client coordinates, less the client area: the frame alone, so that
  // no cell is painted again for it.
  ::OffsetRect(&window, -origin.x, -origin.y);
  UniqueHRgn frame(::CreateRectRgnIndirect(&window));
  const UniqueHRgn inside(::CreateRectRgnIndirect(&client));
  if (!frame || !inside || ::CombineRgn(frame.get(), frame.get(), inside.get(), RGN_DIFF) == ERROR) return;
  ::RedrawWindow(hwnd(), nullptr, frame.get(), RDW_FRAME | RDW_INVALIDATE | RDW_NOERASE);
}

void ThumbnailView::ScrollTo(int32_t x, int32_t y) {
  const int32_t dx = scrollX_.offset - x;
  const int32_t dy = scrollY_.offset - y;
  if (dx == 0 && dy == 0) return;
  scrollX_.offset = x;
  scrollY_.offset = y;
  if (!hwnd()) return;
  ::ScrollWindowEx(hwnd(), dx, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
  if (dx) ::SetScrollPos(hwnd(), SB_HORZ, x, FALSE);
  if (dy) ::SetScrollPos(hwnd(), SB_VERT, y, FALSE);
  // Wine draws a scroll bar in 4 to 10 ms, more than the notch's cells: the bars are drawn once
  // the thread is idle, after the cells (at once if there is no idle work to carry it).
  barsStale_ = true;
  DrawAheadLater();
  if (!drawingAhead_) RedrawStaleBars();
}

void ThumbnailView::RedrawStaleBars() {
  if (!barsStale_) return;
  barsStale_ = false;
  RedrawBarsLater();
}

void ThumbnailView::OnSize(int32_t width, int32_t height) {
  scrollX_.client = width;
  scrollY_.client = height;
  FitCellCache();
  UpdateScrollBars();
  ScrollTo(scrollX_.Clamp(scrollX_.offset), scrollY_.Clamp(scrollY_.offset));
}

void ThumbnailView::AddRunning() noexcept {
  if (!addRunning_) scrolledDuringAdd_ = false;
  addRunning_ = true;
}

void ThumbnailView::AddEnded() {
  RedrawDueBars();
  const bool stay = addRunning_ && scrolledDuringAdd_;
  addRunning_ = false;
  DrawAheadLater();
  if (stay) return;
  ScrollTo(0, 0);
  if (hwnd()) ::UpdateWindow(hwnd());
}

void ThumbnailView::OnScroll(int bar, WPARAM wParam) {
  const ScrollRequest request = RequestFor(LOWORD(wParam));
  if (request == ScrollRequest::None) return;
  scrolledDuringAdd_ = true;
  ScrollAxis& axis = bar == SB_HORZ ? scrollX_ : scrollY_;
  int32_t thumb = 0;
  if (request == ScrollRequest::Thumb) {
    // The 32-bit track position; the word in wParam stops at 65535.
    SCROLLINFO info{sizeof(info)};
    info.fMask = SIF_TRACKPOS;
    thumb = ::GetScrollInfo(hwnd(), bar, &info) ? info.nTrackPos : static_cast<int32_t>(HIWORD(wParam));
  }
  const int32_t wanted = OffsetForRequest(axis, request, thumb);
  if (bar == SB_HORZ) {
    ScrollTo(wanted, scrollY_.offset);
  } else {
    ScrollTo(scrollX_.offset, wanted);
  }
}

void ThumbnailView::OnMouseWheel(int32_t delta) {
  const bool byPage = static_cast<UINT>(wheelLines_) == WHEEL_PAGESCROLL;
  const int32_t steps = wheel_.Add(delta, byPage ? 1 : wheelLines_);
  const bool vertical = scrollY_.Scrollable();
  ScrollAxis& axis = vertical ? scrollY_ : scrollX_;
  const int32_t step = byPage ? axis.page : axis.line;
  if (steps == 0) return;
  scrolledDuringAdd_ = true;
  // All the notch's lines in one move: one copy of the window and one strip to paint, not one
  // of each per line.
  const int32_t wanted = axis.Clamp(axis.offset + steps * step);
  if (vertical) {
    ScrollTo(scrollX_.offset, wanted);
  } else {
    ScrollTo(wanted, scrollY_.offset);
  }
  if (hwnd()) ::UpdateWindow(hwnd());
}

}  // namespace fernwick
