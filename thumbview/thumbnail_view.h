#pragma once
// The scrolling grid of thumbnails in the middle of the main window. It holds the photo list
// (photos, selection, nextFileNumber) and is the drop target for files from the shell.
//
// Painting renders only the cells that the update region touches, straight from the items'
// thumbnail-size pictures, so a list of any length shows its grid at the same cost.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/handles.h"
#include "controls/window_base.h"
#include "imaging/photo_item.h"
#include "thumbview/core/scroll_state.h"

namespace fernwick {

// What the view needs from the window that owns it.
class ThumbnailViewOwner {
 public:
  virtual void EnableSelectionButtons(bool enable) = 0;
  virtual HWND hwnd() const noexcept = 0;

 protected:
  ~ThumbnailViewOwner() = default;
};

class ThumbnailView : public WindowBase {
 public:
  ThumbnailView();
  ~ThumbnailView() override;

  // Creates the window as a child of `parent` with the given rectangle and styles.
  bool Create(HWND parent, const RECT& rect, DWORD style);
  void SetOwner(ThumbnailViewOwner* owner) noexcept { owner_ = owner; }
  void CreateTooltip();
  HWND tooltip() const noexcept { return tooltip_.get(); }

  // Places every photo, sets the content size, scrolls back to the top and repaints.
  void Layout();
  void RemoveSelected();
  void RotateSelected(bool clockwise);

  // Photo list
  unsigned Count() const noexcept { return static_cast<unsigned>(photos_.size()); }
  bool ContainsSourcePath(const std::string& path) const noexcept;
  void AppendAndSelect(std::unique_ptr<PhotoItem> item);
  // The item in a slot, or none for an empty slot or a slot past the end.
  PhotoItem* SlotAt(std::size_t slot) const noexcept;
  PhotoItem* selection() const noexcept { return selection_; }
  // For the upload worker: empties the slot after its request was sent and deletes the item.
  void DetachUploaded(std::size_t slot);
  void RemoveEmptySlots();
  void ClearSelection();
  // Working-copy numbers: the current value, and the counter grows by 1.
  int32_t TakeFileNumber() noexcept { return nextFileNumber_++; }
  int32_t nextFileNumber() const noexcept { return nextFileNumber_; }

  // The first photo whose thumbnail box holds the content point, or none.
  PhotoItem* HitTest(int32_t x, int32_t y) const noexcept;
  POINT ScrollOffset() const noexcept { return {scrollX_.offset, scrollY_.offset}; }
  SIZE ContentSize() const noexcept { return {scrollX_.content, scrollY_.content}; }
  // Renders the part `area` (client coordinates) of the view into `dc` at (0, 0).
  void Render(HDC dc, const RECT& area) const;

 protected:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnLeftButtonDown(LPARAM lParam);
  void OnPaint();
  void UpdateTooltip(UINT message, WPARAM wParam, LPARAM lParam);
  void NotifyOwner(bool enable);
  void PaintFrameOnWindow(HDC dc, const PhotoItem& item) const;

  // Scrolling
  void OnSize(int32_t width, int32_t height);
  void OnScroll(int bar, WPARAM wParam);
  void OnMouseWheel(int32_t delta);
  void ReadWheelLines();
  void UpdateScrollBars();
  void ScrollTo(int32_t x, int32_t y);

  ThumbnailViewOwner* owner_ = nullptr;
  std::vector<std::unique_ptr<PhotoItem>> photos_;
  PhotoItem* selection_ = nullptr;
  int32_t nextFileNumber_ = 1001;
  UniqueWindow tooltip_;
  ScrollAxis scrollX_;
  ScrollAxis scrollY_;
  WheelAccumulator wheel_;
  int32_t wheelLines_ = 3;
};

}  // namespace fernwick
