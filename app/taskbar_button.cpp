#include "app/taskbar_button.h"

namespace fernwick {

UINT TaskbarButton::CreatedMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"TaskbarButtonCreated");
  return message;
}

void TaskbarButton::Attach(HWND window) {
  window_ = window;
  if (FAILED(::CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                reinterpret_cast<void**>(list_.put()))) ||
      FAILED(list_.get()->HrInit())) {
    list_.reset();
  }
}

void TaskbarButton::ShowProgress(uint64_t done, uint64_t total) {
  movedAt_ = ::GetTickCount64();
  paused_ = false;
  if (!list_ || total == 0) return;
  list_.get()->SetProgressState(window_, TBPF_NORMAL);
  list_.get()->SetProgressValue(window_, done, total);
}

void TaskbarButton::ShowPausedIfStill() {
  if (paused_ || !list_ || ::GetTickCount64() - movedAt_ < kStillMs) return;
  paused_ = true;
  list_.get()->SetProgressState(window_, TBPF_PAUSED);
}

void TaskbarButton::ShowError() {
  if (!list_) return;
  list_.get()->SetProgressState(window_, TBPF_ERROR);
  list_.get()->SetProgressValue(window_, 1, 1);
}

void TaskbarButton::Clear() {
  if (list_) list_.get()->SetProgressState(window_, TBPF_NOPROGRESS);
}

void TaskbarButton::FlashIfInBackground(HWND window) {
  if (::GetForegroundWindow() == window) return;
  FLASHWINFO flash{sizeof(flash), window, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
  ::FlashWindowEx(&flash);
}

}  // namespace fernwick
