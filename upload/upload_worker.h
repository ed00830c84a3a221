#pragma once
// The upload command (OK, 1017) and the worker thread that sends the batch.
#include <atomic>
#include <memory>
#include <string>

#include "base/ui_task.h"

namespace fernwick {

class MainDialog;

// What the command hands to the worker, which owns it from then on. `dialog` is used only
// inside tasks run on the UI thread, through `ui`, which refuses them once the window is gone.
struct UploadJob {
  std::string userName;
  std::string password;
  MainDialog* dialog = nullptr;
  std::shared_ptr<UiTaskChannel> ui;
  std::shared_ptr<const std::atomic<bool>> cancelRequested;
};

// The handler of OK: unless a batch already runs, sets uploadInProgress and disables OK, then
// checks the sign-in (on a worker, or through the login dialog when nobody is signed in) and,
// when the answer says yes, starts the worker; otherwise clears both again. Returns at once
// when an account is signed in; nothing waits for the worker.
void StartUpload(MainDialog& dialog);

// The worker's whole batch, on the calling thread (StartUpload gives it a thread of its own).
void UploadWorker(std::unique_ptr<UploadJob> job);

}  // namespace fernwick
