// The view's idle work: the cells that the next wheel notch either way will show are drawn into
// the cell cache while the window waits, so that a notch mostly copies cells already drawn. A
// notch moves three hundredths of the content, whole screens in a long list: the rows next to
// the shown ones are not where it lands.
#include <algorithm>

#include "thumbview/thumbnail_view.h"

namespace fernwick {

namespace {
// The most one slice of idle work takes, about half a frame, so a timer or task of the window
// that came in meanwhile waits no longer; input and paints stop a slice at the next cell.
constexpr double kSliceMs = 8;

double NowMs() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool SomethingWaits() { return HIWORD(::GetQueueStatus(QS_INPUT | QS_PAINT | QS_POSTMESSAGE)) != 0; }
}  // namespace

// The shown screen and one a notch either way: a notch then finds its cells kept, and the screen
// it left is kept for the way back. Cells a row past each edge count as shown.
void ThumbnailView::FitCellCache() noexcept {
  RECT client{};
  if (hwnd()) ::GetClientRect(hwnd(), &client);
  const int32_t pitch = ScaleForDpi(kCellPitch, dpi_);
  const auto rows = static_cast<std::size_t>(client.bottom / pitch + 2);
  const auto columns = static_cast<std::size_t>(GridColumns(client.right, dpi_));
  cells_.FitScreen(columns * rows, 2 * ScaleForDpi(kHalfCell, dpi_));
}

// A timer's message comes only when nothing else waits for the window's thread: the idle time.
// While photos arrive it waits for the add's end: a notch's reach grows with the list, so the
// cells drawn for it would be thrown away with the next rows, and the add would lose the time.
void ThumbnailView::DrawAheadLater() {
  if (!hwnd() || drawingAhead_ || addRunning_) return;
  drawingAhead_ = ::SetTimer(hwnd(), kDrawAheadTimer, USER_TIMER_MINIMUM, nullptr) != 0;
}

void ThumbnailView::OnTimer(UINT_PTR timer) {
  if (timer == kBarsTimer) return RedrawDueBars();
  if (timer != kDrawAheadTimer) return;
  // The bars' paint comes before the next tick; the cells ahead wait for it.
  if (barsStale_) return RedrawStaleBars();
  if (!addRunning_ && !DrawAheadSlice()) return;
  ::KillTimer(hwnd(), kDrawAheadTimer);
  drawingAhead_ = false;
}

bool ThumbnailView::DrawAheadSlice() {
  const bool vertical = scrollY_.Scrollable();
  const ScrollAxis& axis = vertical ? scrollY_ : scrollX_;
  const int32_t notch =
      static_cast<UINT>(wheelLines_) == WHEEL_PAGESCROLL ? axis.page : axis.line * std::max(wheelLines_, 1);
  const WindowDc dc(hwnd());
  if (!dc) return true;
  const double start = NowMs();
  for (const int32_t target : NotchTargets(axis, notch)) {
    const int32_t left = vertical ? scrollX_.offset : target;
    const int32_t top = vertical ? target : scrollY_.offset;
    const bool whole = ForCellsMeeting(left, top, scrollX_.client, scrollY_.client,
                                       [&](const PhotoItem& item, const CellBounds& cell) {
                                         if (cells_.Holds(item, cell)) return true;
                                         if (SomethingWaits() || NowMs() - start > kSliceMs) return false;
                                         cells_.Prepare(dc.get(), item, cell);
                                         return true;
                                       });
    if (!whole) return false;
  }
  return true;
}

}  // namespace fernwick
