#pragma once
// Base of every dialog of the program: modal (DialogBoxParamW) or modeless child page
// (CreateDialogParamW). The static procedure stores `this` at WM_INITDIALOG and forwards
// every message to OnMessage; exceptions never cross the window procedure.
#include <windows.h>

#include <optional>

namespace fernwick {

class DialogBase {
 public:
  DialogBase() = default;
  virtual ~DialogBase();
  DialogBase(const DialogBase&) = delete;
  DialogBase& operator=(const DialogBase&) = delete;

  // Runs the dialog modally; returns what EndDialog was given, or -1 when it could not be made.
  INT_PTR RunModal(int templateId, HWND owner);
  // Creates the dialog modeless as a child or owned window; the window lives until this
  // object is destroyed (or the parent destroys it first).
  HWND CreateModeless(int templateId, HWND parent);

  HWND hwnd() const noexcept { return hwnd_; }
  HWND Item(int id) const noexcept { return ::GetDlgItem(hwnd_, id); }

 protected:
  // The same hook as the window bases (controls/window_base.h): the message's result when
  // handled, nothing to pass it to the dialog manager. The value of WM_INITDIALOG is returned as it is (TRUE: let the system set the focus);
  // for other messages it is stored as DWLP_MSGRESULT.
  virtual std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // Called after the window is gone (WM_NCDESTROY); hwnd() is null again.
  virtual void OnWindowGone() {}

  static INT_PTR CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

 private:
  HWND hwnd_ = nullptr;
};

// Centres `window` over `over`'s client area (or the desktop work area when `over` is null),
// keeping it inside that area. Size is unchanged.
void CenterWindowOver(HWND window, HWND over);

}  // namespace fernwick
