#pragma once
// What an upload batch needs of the window that shows it: six calls, all on the UI thread (the
// worker's through the window's task channel), so upload/ never sees the window's members,
// pages or photo list. What may change during a batch: batch_snapshot.h.
#include <windows.h>

#include <memory>

#include "base/ui_host.h"
#include "upload/batch_report.h"
#include "upload/batch_snapshot.h"

namespace fernwick {

// What the upload session itself asks of the window.
class SessionHost : public UiHost {
 public:
  // OK and Back (IDC_MAIN_OK, IDC_MAIN_BACK) under the photo-settings page: disabled from OK
  // until the batch it starts has ended, so the page is not left and the list not changed.
  virtual void EnableOkAndBack(bool enable) noexcept = 0;
  // Ends the window for good; the session calls it only when no worker uses the window.
  virtual void CloseWindow() noexcept = 0;

 protected:
  ~SessionHost() = default;
};

class BatchHost : public SessionHost {
 public:
  // The batch as it starts: the photo-settings page read (its transfer in the saving
  // direction), then the list's photos.
  virtual BatchSnapshot TakeBatch() = 0;
  // Applies what the worker reported; a report on a photo no longer in its place changes no
  // photo.
  virtual void ApplyBatchReport(const BatchReport& report) = 0;

 protected:
  ~BatchHost() = default;
};

}  // namespace fernwick
