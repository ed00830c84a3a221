// The view's grid layout: where each cell goes, and what a new layout repaints.
#include <algorithm>

#include "thumbview/core/grid_layout.h"
#include "thumbview/thumbnail_view.h"

namespace fernwick {

int32_t ThumbnailView::GridRight(const RECT& client, std::size_t count) const {
  // The width without a vertical scroll bar; when the grid is taller than the view, the bar
  // will take its share and the cells must fit beside it, not under it.
  const int32_t bar = ::GetSystemMetrics(SM_CXVSCROLL);
  const bool barShown = hwnd() && (::GetWindowLongW(hwnd(), GWL_STYLE) & WS_VSCROLL);
  const int32_t fullRight = client.right + (barShown ? bar : 0);
  if (hwnd() && ShapeOfGrid(count, fullRight, dpi_).contentHeight > client.bottom) return fullRight - bar;
  return fullRight;
}

GridLayout ThumbnailView::PlanGrid(const RECT& client) const {
  const PhotoList::Slots& slots = photos_.slots();
  const std::size_t count =
      static_cast<std::size_t>(std::count_if(slots.begin(), slots.end(), [](const auto& item) { return !!item; }));
  return LayOutGrid(count, GridRight(client, count), dpi_);
}

bool ThumbnailView::PlaceAppended(const RECT& client, GridShape& shape) {
  const PhotoList::Slots& slots = photos_.slots();
  if (!placedInOrder_ || photos_.HasEmptySlots() || slots.size() < placedSlots_) return false;
  shape = ShapeOfGrid(slots.size(), GridRight(client, slots.size()), dpi_);
  if (!(shape.rows == rows_)) return false;
  for (std::size_t slot = placedSlots_; slot < slots.size(); ++slot) {
    const GridPoint centre = CentreOfPlace(rows_, slot, dpi_);
    slots[slot]->MoveCentreTo(centre.x, centre.y);
  }
  placedSlots_ = slots.size();
  return true;
}

bool ThumbnailView::PlaceItems(const GridLayout& grid) {
  bool placedMoved = false;
  std::size_t next = 0;
  rows_ = grid.rows;
  placedSlots_ = photos_.slots().size();
  placedInOrder_ = true;
  for (const auto& item : photos_.slots()) {
    if (!item) {
      placedInOrder_ = false;
      continue;
    }
    const GridPoint centre = grid.centres[next++];
    if (item->centreX == centre.x && item->centreY == centre.y) continue;
    // A new item has not been placed yet: it sits at (0, 0), where no cell of the grid is.
    placedMoved |= item->centreX != 0 || item->centreY != 0;
    item->MoveCentreTo(centre.x, centre.y);
  }
  return placedMoved;
}

// Slots emptied by an upload keep their places, and photos appended since the layout sit past
// them; only slots closed up before the next layout, or a layout over empty slots, break the
// order, and then every slot is looked at.
PlaceRange ThumbnailView::SlotsMeeting(int32_t top, int32_t height) const noexcept {
  const std::size_t count = photos_.slots().size();
  if (!placedInOrder_ || count < placedSlots_) return {0, count};
  return PlacesMeeting(rows_, placedSlots_, top, height, dpi_);
}

void ThumbnailView::Layout() {
  // Items may have come and gone: a new one may sit where a removed one's cell was kept.
  cells_.Clear();
  FitCellCache();
  // A layout comes with a resize or a removal, when the whole view is drawn anyway: the cells'
  // bitmaps are made now, not by the first notches after it.
  cells_.MakeBitmapsFor(photos_.Count());
  RECT client{};
  if (hwnd()) ::GetClientRect(hwnd(), &client);
  const GridLayout grid = PlanGrid(client);
  PlaceItems(grid);
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

void ThumbnailView::ShowAppended() {
  if (!hwnd()) return Layout();
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  // Photos appended to a grid whose rows stay as they were take their places by arithmetic, at
  // the same cost in a list of any length; otherwise every photo is placed again.
  GridShape grid;
  bool everyCellMoved = false;
  if (!PlaceAppended(client, grid)) {
    const GridLayout layout = PlanGrid(client);
    grid = layout;
    everyCellMoved = PlaceItems(layout);
  }
  if (everyCellMoved) {
    // The grid narrowed for the scroll bar: every cell moved.
    ::InvalidateRect(hwnd(), nullptr, FALSE);
  } else {
    // Only the new cells and the frame of the selection before them changed; both show as
    // cells that the cache does not hold as they look now.
    const int32_t left = scrollX_.offset;
    const int32_t top = scrollY_.offset;
    ForCellsMeeting(left, top, client.right, client.bottom, [&](const PhotoItem& item, const CellBounds& cell) {
      if (cells_.Holds(item, cell)) return true;
      const RECT area{cell.left - left, cell.top - top, cell.right - left, cell.bottom - top};
      ::InvalidateRect(hwnd(), &area, FALSE);
      return true;
    });
  }
  // Only a bar whose range changed is set, mostly once per new row: each one set is drawn
  // again with the next paint, at a cost of milliseconds under load.
  const bool wider = scrollX_.content != grid.contentWidth;
  const bool taller = scrollY_.content != grid.contentHeight;
  scrollX_.SetContent(grid.contentWidth);
  scrollY_.SetContent(grid.contentHeight);
  scrollX_.client = client.right;
  scrollY_.client = client.bottom;
  scrollX_.offset = scrollX_.Clamp(scrollX_.offset);
  scrollY_.offset = scrollY_.Clamp(scrollY_.offset);
  if (wider) UpdateScrollBar(SB_HORZ);
  if (taller) UpdateScrollBar(SB_VERT);
}

}  // namespace fernwick
