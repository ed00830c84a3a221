#pragma once
// The scrolling grid of thumbnails in the middle of the main window. It shows a photo list
// that its owner keeps, selects by clicking, turns and deletes the selected photo, and is
// the drop target for files from the shell.
//
// Painting renders only the cells that the update region touches, from the items'
// thumbnail-size pictures through a cache of rendered cells, so a list of any length shows its
// grid at the same cost and scrolling back over cells already seen only copies them.
#include <windows.h>

#include <cstdint>
#include <functional>

#include "base/handles.h"
#include "controls/window_base.h"
#include "imaging/photo_list.h"
#include "thumbview/cell_cache.h"
#include "thumbview/core/grid_layout.h"
#include "thumbview/core/scroll_state.h"

namespace fernwick {

class ThumbnailView : public WindowBase {
 public:
  // The list must outlive the view.
  explicit ThumbnailView(PhotoList& photos);
  ~ThumbnailView() override;

  // Creates the window as a child of `parent` with the given rectangle and styles.
  bool Create(HWND parent, const RECT& rect, DWORD style);
  void CreateTooltip();
  HWND tooltip() const noexcept { return tooltip_.get(); }

  // Places every photo, sets the content size, scrolls back to the top and repaints.
  void Layout();
  // Layout, then the whole view repainted at once: after photos were added.
  void LayOutAndRepaint();
  // Photos were appended to the list (the newest is the selection): places them, keeps the
  // scroll position and repaints only what changed, so photos may arrive while the user
  // scrolls, and each costs the same however long the list is.
  void ShowAppended();
  // An add runs (called as it starts and as it goes on): from its start the view notes whether
  // the user scrolls it.
  void AddRunning() noexcept;
  // The add has ended: the grid goes back to the top, as every layout leaves it, unless the
  // user scrolled while the photos came in; then it stays where the user put it.
  void AddEnded();
  // Dropped files go to `handler` (which releases the drop) instead of being added at once.
  void SetDropHandler(std::function<void(HDROP)> handler) { dropHandler_ = std::move(handler); }
  // The grid's spacing follows the DPI of the window the view is shown in; the owner tells it
  // at the start and whenever the window moves to a screen of another DPI, then lays it out.
  void SetDpi(int dpi) noexcept { dpi_ = dpi; }
  int dpi() const noexcept { return dpi_; }
  // The Delete and Rotate commands, on the list's selection.
  void RemoveSelected();
  void RotateSelected(bool clockwise);

  // The first photo whose thumbnail box holds the content point, or none.
  PhotoItem* HitTest(int32_t x, int32_t y) const noexcept;
  POINT ScrollOffset() const noexcept { return {scrollX_.offset, scrollY_.offset}; }
  const CellCache& cells() const noexcept { return cells_; }
  // True while cells a wheel notch would show are still to be drawn ahead.
  bool drawingAhead() const noexcept { return drawingAhead_; }

 protected:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Where the photos go for a client area of this size (narrower when they need the vertical
  // bar), and moving them there; true when an item already placed moved.
  GridLayout PlanGrid(const RECT& client) const;
  // The right edge a grid of `count` photos is laid out for: beside the vertical bar it needs.
  int32_t GridRight(const RECT& client, std::size_t count) const;
  bool PlaceItems(const GridLayout& grid);
  // Places the photos appended since the last placement, when the grid's rows stay as they
  // were and no slot is empty; `shape` is then the grid's. False when every photo needs placing.
  bool PlaceAppended(const RECT& client, GridShape& shape);
  // The slots whose cells may meet the rows from `top` to `top + height` (content
  // coordinates): those of the rows there when the slots are still where the last layout put
  // them, every slot otherwise.
  PlaceRange SlotsMeeting(int32_t top, int32_t height) const noexcept;
  // Calls `visit(item, cell)` for each photo whose cell meets the area of width x height whose
  // top left is the content point (left, top), in the grid's order, until `visit` returns
  // false; false when it stopped.
  template <class Visit>
  bool ForCellsMeeting(int32_t left, int32_t top, int32_t width, int32_t height, Visit visit) const {
    const PlaceRange slots = SlotsMeeting(top, height);
    for (std::size_t slot = slots.first; slot < slots.last; ++slot) {
      const PhotoItem* item = photos_.SlotAt(slot);
      if (!item) continue;
      const CellBounds cell = CellAround(item->centreX, item->centreY, dpi_);
      if (CellMeets(cell, left, top, width, height) && !visit(*item, cell)) return false;
    }
    return true;
  }
  // Renders the part `area` (client coordinates) of the view into `dc`, whose origin is the
  // client area's.
  void Render(HDC dc, const RECT& area) const;
  void OnLeftButtonDown(LPARAM lParam);
  void OnPaint();
  void UpdateTooltip(UINT message, WPARAM wParam, LPARAM lParam);

  // Scrolling
  void OnSize(int32_t width, int32_t height);
  void OnScroll(int bar, WPARAM wParam);
  void OnMouseWheel(int32_t delta);
  void ReadWheelLines();
  void UpdateScrollBars();
  void UpdateScrollBar(int bar);
  void RedrawBarsLater();
  // A range set while photos arrive, drawn now (RedrawBarsLater) if it waited for kBarsTimer.
  void RedrawDueBars();
  // After a scroll: the bars' new positions drawn (RedrawBarsLater) if not done yet.
  void RedrawStaleBars();
  void ScrollTo(int32_t x, int32_t y);

  // Drawing ahead, while idle
  void FitCellCache() noexcept;
  void DrawAheadLater();
  void OnTimer(UINT_PTR timer);
  static constexpr UINT_PTR kDrawAheadTimer = 1;
  static constexpr UINT_PTR kBarsTimer = 2;
  // While photos arrive, the bars' new ranges are drawn at most this often: twice a second
  // shows the list growing, and each drawing of the two bars costs the window 10 to 20 ms.
  static constexpr UINT kBarsWhileAddingMs = 500;
  // One slice of it; true when every cell ahead is drawn.
  bool DrawAheadSlice();

  PhotoList& photos_;
  mutable CellCache cells_;  // what painting has drawn; painting is const to the view otherwise
  std::function<void(HDROP)> dropHandler_;
  UniqueWindow tooltip_;
  // The rows of the last layout, and how many slots it placed: slot i went to place i when none
  // was empty.
  GridRows rows_;
  std::size_t placedSlots_ = 0;
  bool placedInOrder_ = true;
  ScrollAxis scrollX_;
  ScrollAxis scrollY_;
  WheelAccumulator wheel_;
  int32_t wheelLines_ = 3;
  int dpi_ = 96;
  bool addRunning_ = false;
  bool scrolledDuringAdd_ = false;
  bool drawingAhead_ = false;
  bool barsStale_ = false;  // scrolled since the bars were last drawn
  bool barsDue_ = false;    // a range set during an add waits for kBarsTimer
};

}  // namespace fernwick
