#pragma once
// Base of the program's own window classes. The static procedure stores `this` at
// WM_NCCREATE (lpCreateParams) and forwards everything to OnMessage; exceptions never
// cross the window procedure.
//
// Every window and dialog base of the program has the same message hook:
//   std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
// a value is the message's result; nothing passes the message on to the default handling
// (DefWindowProc here, the previous procedure for a subclassed control, the dialog manager
// for a dialog).
#include <windows.h>

#include <optional>

namespace fernwick {

class WindowBase {
 public:
  WindowBase() = default;
  virtual ~WindowBase();
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  HWND hwnd() const noexcept { return hwnd_; }

 protected:
  // Registers (once per process) a class whose procedure is StaticProc.
  static bool RegisterWindowClass(const wchar_t* className, UINT classStyle, HBRUSH background, HCURSOR cursor);
  HWND CreateWindowOfClass(const wchar_t* className, DWORD exStyle, DWORD style, const RECT& rect, HWND parent,
                           UINT id);

  virtual std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  HWND hwnd_ = nullptr;
};

// Base of control objects attached to existing windows (a dialog's template controls) by
// subclassing them. Detaches itself when the window is destroyed.
class SubclassBase {
 public:
  SubclassBase() = default;
  virtual ~SubclassBase();
  SubclassBase(const SubclassBase&) = delete;
  SubclassBase& operator=(const SubclassBase&) = delete;

  bool Attach(HWND window);
  void Detach();
  HWND hwnd() const noexcept { return hwnd_; }
  bool attached() const noexcept { return hwnd_ != nullptr; }

 protected:
  // Nothing passes the message on to the window's previous procedure.
  virtual std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual void OnAttached() {}
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR refData) noexcept;
  HWND hwnd_ = nullptr;
};

}  // namespace fernwick
