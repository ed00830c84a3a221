// The photo list held by the view, and the commands that change it.
#include <algorithm>

#include "thumbview/core/grid_layout.h"
#include "thumbview/thumbnail_view.h"

namespace fernwick {

bool ThumbnailView::ContainsSourcePath(const std::string& path) const noexcept {
  return std::any_of(photos_.begin(), photos_.end(),
                     [&](const auto& item) { return item && item->sourcePath == path; });
}

void ThumbnailView::AppendAndSelect(std::unique_ptr<PhotoItem> item) {
  if (!item) return;
  if (selection_) selection_->selected = false;
  photos_.push_back(std::move(item));
  selection_ = photos_.back().get();
  selection_->selected = true;
  NotifyOwner(true);
}

PhotoItem* ThumbnailView::SlotAt(std::size_t slot) const noexcept {
  return slot < photos_.size() ? photos_[slot].get() : nullptr;
}

void ThumbnailView::DetachUploaded(std::size_t slot) {
  if (slot >= photos_.size() || !photos_[slot]) return;
  if (photos_[slot].get() == selection_) ClearSelection();
  photos_[slot].reset();
}

void ThumbnailView::RemoveEmptySlots() {
  std::erase_if(photos_, [](const auto& item) { return !item; });
}

void ThumbnailView::ClearSelection() {
  if (!selection_) return;
  selection_->selected = false;
  selection_ = nullptr;
  NotifyOwner(false);
}

void ThumbnailView::Layout() {
  RECT client{};
  if (hwnd()) ::GetClientRect(hwnd(), &client);
  const std::size_t count =
      static_cast<std::size_t>(std::count_if(photos_.begin(), photos_.end(), [](const auto& item) { return !!item; }));
  // The width without a vertical scroll bar; when the grid is taller than the view, the bar
  // will take its share and the cells must fit beside it, not under it.
  const int32_t bar = ::GetSystemMetrics(SM_CXVSCROLL);
  const bool barShown = hwnd() && (::GetWindowLongA(hwnd(), GWL_STYLE) & WS_VSCROLL);
  const int32_t fullRight = client.right + (barShown ? bar : 0);
  GridLayout grid = LayOutGrid(count, fullRight);
  if (hwnd() && grid.contentHeight > client.bottom) grid = LayOutGrid(count, fullRight - bar);
  std::size_t next = 0;
  for (const auto& item : photos_) {
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

void ThumbnailView::RemoveSelected() {
  if (!selection_) return;
  PhotoItem* removed = selection_;
  selection_ = nullptr;
  std::erase_if(photos_, [&](const auto& item) { return item.get() == removed; });
  NotifyOwner(false);
  Layout();
  if (hwnd()) ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void ThumbnailView::RotateSelected(bool clockwise) {
  if (!selection_) return;
  selection_->TurnQuarter(clockwise);
  if (!hwnd()) return;
  const CellBounds cell = CellAround(selection_->centreX, selection_->centreY);
  const RECT square{cell.left - scrollX_.offset, cell.top - scrollY_.offset, cell.right - scrollX_.offset,
                    cell.bottom - scrollY_.offset};
  ::InvalidateRect(hwnd(), &square, TRUE);
}

}  // namespace fernwick
