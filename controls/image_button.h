#pragma once
// A push button of a dialog template turned into an owner-drawn button that shows one
// bitmap (its face: 40 x 40 at 96 DPI, drawn larger for larger DPIs) and carries its own
// tooltip. The owner chooses and swaps the
// face (a grey one when it disables the button); the button only copies it, one pixel lower
// and further right while it is pushed. It draws from the WM_DRAWITEM its parent reflects.
#include <windows.h>

#include <optional>
#include <string>

#include "base/handles.h"
#include "controls/window_base.h"

namespace fernwick {

class ImageButton : public SubclassBase {
 public:
  // Bits of state().
  static constexpr unsigned kMouseOver = 1;
  static constexpr unsigned kFocused = 2;
  static constexpr unsigned kPressed = 4;

  ImageButton() = default;
  ~ImageButton() override;

  // Subclasses the button and makes it owner-drawn with its tooltip; false when the window
  // cannot be subclassed or a window is already attached.
  bool AttachTo(HWND window);

  // Keeps a copy of `text` and shows it as the tooltip; null or empty switches it off.
  bool SetTooltip(const wchar_t* text);
  // Takes the face; the previous one is deleted first. Not repainted: the owner invalidates
  // the button when the change must show at once.
  void SetFace(UniqueHBitmap face);
  // Loads bitmap resource `id` of the program as the face, in its drawing nearest to `dpi`
  // (the 96-DPI one when that size is missing); false (and no face) on failure.
  bool LoadFace(int id, int dpi = 96);

  HBITMAP face() const noexcept { return face_.get(); }
  unsigned state() const noexcept { return state_; }
  HWND tooltipWindow() const noexcept { return tooltipWindow_.get(); }
  const std::optional<std::wstring>& tooltipText() const noexcept { return tooltipText_; }

 protected:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Initialise();
  void AddTooltipTool();
  void Draw(const DRAWITEMSTRUCT& item) const;
  LRESULT OnReflected(UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> OnMouse(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnLeftButtonDown(WPARAM wParam, LPARAM lParam);
  LRESULT OnLeftButtonUp(WPARAM wParam, LPARAM lParam);
  void OnMouseMove(POINT point);
  void SetStateBit(unsigned bit, bool on);
  void Repaint() const;

  UniqueWindow tooltipWindow_;
  std::optional<std::wstring> tooltipText_;
  unsigned state_ = 0;
  UniqueHBitmap face_;
};

}  // namespace fernwick
