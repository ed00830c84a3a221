#pragma once
// The scrolling grid of thumbnails in the middle of the main window. It holds the photo list
// (photos, selection, nextFileNumber) and is the drop target for files from the shell.
#include <windows.h>

#include <cstdint>

#include "controls/window_base.h"

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

  // Places every photo, sets the content size, scrolls back to the top and re-renders.
  void Layout();
  void RemoveSelected();
  void RotateSelected(bool clockwise);

  // Photo list
  unsigned Count() const noexcept;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  ThumbnailViewOwner* owner_ = nullptr;
};

}  // namespace fernwick
