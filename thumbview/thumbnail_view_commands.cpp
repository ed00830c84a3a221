// The Delete and Rotate commands on the selected photo.
#include "thumbview/core/grid_layout.h"
#include "thumbview/thumbnail_view.h"

namespace fernwick {

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
