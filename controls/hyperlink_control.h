#pragma once
// A static control of a dialog turned into a link: drawn in the browser's link colours, with
// the hand cursor, a tooltip showing the target, keyboard focus, and opening the target on a
// click or on Enter/Space.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "base/handles.h"
#include "controls/link_colours.h"
#include "controls/reflection.h"
#include "controls/window_base.h"

namespace fernwick {

class HyperLinkControl : public SubclassBase {
 public:
  enum Options : uint32_t {
    kNoUnderline = 0x01,
    kLinkFontOnHover = 0x02,
    kCommandLink = 0x04,
    kNotifyLink = 0x0C,
    kMarkupInCaption = 0x10,
    kBoldLinkText = 0x20,
    kNoTooltip = 0x40,
    kImageLeft = 0x80,
    kImageRight = 0x100,
  };

  explicit HyperLinkControl(uint32_t options = 0) : options_(options) {}
  ~HyperLinkControl() override;

  // The link font is chosen at attachment from the options present then.
  void SetOptions(uint32_t options) noexcept { options_ = options; }
  uint32_t options() const noexcept { return options_; }

  bool SetLabel(const std::wstring& label);
  bool SetTarget(const std::wstring& target);
  // A web address (plain ASCII, or UTF-8).
  bool SetTarget(const std::string& address);
  // Notifies the parent (notifyLink, commandLink) or opens the target with the shell; true on
  // success. A target opened successfully turns the link into the visited colour.
  bool Open();

  const std::optional<std::wstring>& label() const noexcept { return label_; }
  const std::optional<std::wstring>& target() const noexcept { return target_; }
  const RECT& linkRect() const noexcept { return linkRect_; }
  COLORREF linkColour() const noexcept { return colours_.link; }
  COLORREF visitedColour() const noexcept { return colours_.visited; }
  bool visited() const noexcept { return visited_; }
  bool hovering() const noexcept { return hovering_; }
  bool paintsLabel() const noexcept { return paintLabel_; }
  HWND tooltip() const noexcept { return tooltip_.get(); }

 protected:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnAttached() override;

  virtual void ComputeLinkRect();
  virtual void Paint(HDC dc);
  // Where a button press or release counts as on the link.
  virtual bool IsActiveAt(POINT point) const;
  virtual std::optional<LRESULT> OnSetCursor();
  // Notifications the parent sent back with the reflection offset added.
  virtual std::optional<LRESULT> OnReflected(UINT message, WPARAM wParam, LPARAM lParam);

  bool reactsToMouse() const noexcept { return target_.has_value() || (options_ & kCommandLink) != 0; }
  void FillBackground(HDC dc, const RECT& client);
  void SetLinkRect(const RECT& rect);
  HCURSOR handCursor() const noexcept { return handCursor_; }
  // WM_PAINT / WM_PRINTCLIENT: into the given context, or between BeginPaint and EndPaint.
  void PaintMessage(HDC given);

 private:
  void ChooseFonts();
  // The link font from the normal font and the options present now.
  void DeriveLinkFont();
  void UpdateTooltipTool();
  void RepaintLink(bool now);
  std::wstring TextToDraw() const;
  HFONT LinkTextFont() const;
  void PaintMarkup(HDC dc, const RECT& client, COLORREF linkColour) const;
  void PaintWhole(HDC dc, COLORREF linkColour) const;

  // Message handlers.
  void OnMouseMove(POINT point);
  LRESULT OnMouseLeave();
  LRESULT OnLeftButtonDown(POINT point);
  LRESULT OnLeftButtonUp(POINT point);
  LRESULT OnChar(WPARAM character);
  LRESULT OnFocusChange();
  LRESULT OnEnable();
  LRESULT OnSetFont(HFONT font, bool redraw);
  std::optional<LRESULT> OnPaint(HDC given);
  void OnDestroy();

  uint32_t options_;
  std::optional<std::wstring> label_;
  std::optional<std::wstring> target_;
  HCURSOR handCursor_ = nullptr;
  UniqueHFont ownLinkFont_;
  HFONT normalFont_ = nullptr;
  RECT linkRect_{};
  UniqueWindow tooltip_;
  bool toolAdded_ = false;
  LinkColours colours_;
  bool paintLabel_ = true;
  bool visited_ = false;
  bool hovering_ = false;
};

}  // namespace fernwick
