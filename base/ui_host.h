#pragma once
// What every host window gives the work it runs for it: the window itself (owner of the
// messages the work shows) and its task channel (how a worker hands results back). The account
// code and the upload batch each ask more of the window through an interface derived from this.
#include <windows.h>

#include <memory>

#include "base/ui_task.h"

namespace fernwick {

class UiHost {
 public:
  // The window, owner of the messages shown on the host's behalf.
  virtual HWND hwnd() const noexcept = 0;
  // How workers hand their results to the UI thread; closed when the window goes.
  virtual std::shared_ptr<UiTaskChannel> uiTasks() const = 0;

 protected:
  ~UiHost() = default;
};

}  // namespace fernwick
