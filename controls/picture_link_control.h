#pragma once
// A link that shows a bitmap instead of its caption; a click on the bitmap opens it too.
#include "controls/hyperlink_control.h"

namespace fernwick {

class PictureLinkControl : public HyperLinkControl {
 public:
  explicit PictureLinkControl(uint32_t options = 0) : HyperLinkControl(options) {}

  // Loads a bitmap resource of the program as the face; the control owns it.
  bool LoadBitmapResource(int id);
  void SetBitmap(UniqueHBitmap bitmap);
  HBITMAP bitmap() const noexcept { return bitmap_.get(); }
  const RECT& bitmapRect() const noexcept { return bitmapRect_; }

 protected:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void ComputeLinkRect() override;
  void Paint(HDC dc) override;
  bool IsActiveAt(POINT point) const override;
  std::optional<LRESULT> OnSetCursor() override;
  std::optional<LRESULT> OnReflected(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  SIZE BitmapSize() const;

  UniqueHBitmap bitmap_;
  RECT bitmapRect_{};
};

}  // namespace fernwick
