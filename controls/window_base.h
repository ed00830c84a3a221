#pragma once
// Base of the program's own window classes. The static procedure stores `this` at
// WM_NCCREATE (lpCreateParams) and forwards everything to OnMessage; exceptions never
// cross the window procedure.
#include <windows.h>

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
  static bool RegisterWindowClass(const char* className, UINT classStyle, HBRUSH background, HCURSOR cursor);
  HWND CreateWindowOfClass(const char* className, DWORD exStyle, DWORD style, const RECT& rect, HWND parent, UINT id);

  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(hwnd_, message, wParam, lParam);
  }

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
  // Return true with `result` set when handled; false passes the message on.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
  virtual void OnAttached() {}
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR refData) noexcept;
  HWND hwnd_ = nullptr;
};

}  // namespace fernwick
