// The view's grid layout and the commands on the selected photo.
#include <algorithm>

#include "thumbview/core/grid_layout.h"
#include "thumbview/thumbnail_view.h"

namespace fernwick {

void ThumbnailView::Layout() {
  // Items may have come and gone: a new one may sit where a removed one's cell was kept.
  cells_.Clear();
  RECT client{};
  if (hwnd()) ::GetClientRect(hwnd(), &client);
  const PhotoList::Slots& slots = photos_.slots();
  const std::size_t count =
      static_cast<std::size_t>(std::count_if(slots.begin(), slots.end(), [](const auto& item) { return !!item; }));
  // The width without a vertical scroll bar; when the grid is taller than the view, the bar
  // will take its share and the cells must fit beside it, not under it.
  const int32_t bar = ::GetSystemMetrics(SM_CXVSCROLL);
  const bool barShown = hwnd() && (::GetWindowLongW(hwnd(), GWL_STYLE) & WS_VSCROLL);
  const int32_t fullRight = client.right + (barShown ? bar : 0);
  GridLayout grid = LayOutGrid(count, fullRight, dpi_);
  if (hwnd() && grid.contentHeight > client.bottom) grid = LayOutGrid(count, fullRight - bar, dpi_);
  std::size_t next = 0;
  for (const auto& item : slots) {
    if (!item) continue;
    item->MoveCentreTo(grid.centres[next].x, grid.centres[next].y);
    ++next;
  }
  scrollX_.SetContent(grid.contentWidth);
  scrollY_.SetContent(grid.contentHeight);
  scrollX_.offset = 0;
  scrollY_.offset = 0;
  scrollX_.client = client.right;
  scrollY_.client = client.bottom;
  if (!hwnd()) return;
  UpdateScrollBars();
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void ThumbnailView::LayOutAndRepaint() {
  Layout();  // invalidates the whole view
  if (hwnd()) ::UpdateWindow(hwnd());
}

void ThumbnailView::LayOutKeepingScroll() {
  const POINT kept = ScrollOffset();
  Layout();  // back at the top, the whole view invalidated
  scrollX_.offset = scrollX_.Clamp(kept.x);
  scrollY_.offset = scrollY_.Clamp(kept.y);
  UpdateScrollBars();
}

void ThumbnailView::RemoveSelected() {
  if (photos_.RemoveSelected()) Layout();
}

void ThumbnailView::RotateSelected(bool clockwise) {
  PhotoItem* item = photos_.selection();
  if (!item) return;
  item->TurnQuarter(clockwise);
  if (!hwnd()) return;
  const CellBounds cell = CellAround(item->centreX, item->centreY, dpi_);
  const RECT square{cell.left - scrollX_.offset, cell.top - scrollY_.offset, cell.right - scrollX_.offset,
                    cell.bottom - scrollY_.offset};
  ::InvalidateRect(hwnd(), &square, TRUE);
}

}  // namespace fernwick
