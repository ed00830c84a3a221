// The handler of OK (1017): make sure an account is signed in, then start the batch.
#include <thread>

#include "accounts/account_commands.h"
#include "app/main_dialog.h"
#include "res/main_window_ids.h"
#include "base/program_state.h"
#include "upload/upload_worker.h"

namespace fernwick {

namespace {

void Enable(MainDialog& dialog, int id, bool enable) {
  ::EnableWindow(::GetDlgItem(dialog.hwnd(), id), enable ? TRUE : FALSE);
}

// OK and Back are free again without a batch; a close the user asked for meanwhile happens now.
void EndWithoutBatch(MainDialog& dialog) {
  SetUploadInProgress(false);
  Enable(dialog, ids::kOkButton, true);
  Enable(dialog, ids::kBackButton, true);
  // Disabling OK took the focus from it; it is the page's button to press again.
  HWND ok = ::GetDlgItem(dialog.hwnd(), ids::kOkButton);
  if (!::GetFocus() && ::GetActiveWindow() == dialog.hwnd() && ::IsWindowVisible(ok)) {
    ::SendMessageA(dialog.hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ok), TRUE);
  }
  dialog.UploadEnded();
}

// The account is signed in: the worker takes the batch. OK stays busy until it ends.
void StartBatch(MainDialog& dialog) {
  Enable(dialog, ids::kBackButton, true);
  try {
    auto job = std::make_unique<UploadJob>();
    job->userName = dialog.accounts().currentUserName;
    job->password = dialog.accounts().currentPassword;
    job->dialog = &dialog;
    job->ui = dialog.uiTasks();
    job->cancelRequested = dialog.progressPage().cancelFlag();
    std::thread(UploadWorker, std::move(job)).detach();
  } catch (...) {
    // No thread (or no memory to hand the job over): no batch, and nothing left waiting for one.
    EndWithoutBatch(dialog);
  }
}

}  // namespace

void StartUpload(MainDialog& dialog) {
  if (UploadInProgress()) return;
  // OK is busy from the press on: while the account is checked a second press does nothing,
  // as during the batch, and closing the window waits for the check like for a batch. Back
  // waits too: the batch starts from the photo-settings page, with the photo list hidden.
  SetUploadInProgress(true);
  Enable(dialog, ids::kOkButton, false);
  Enable(dialog, ids::kBackButton, false);
  CheckSignInBeforeBatch(
      dialog, ProductionAccountServices(), [&dialog] { return !dialog.closeRequestedDuringUpload(); },
      [&dialog](bool signedIn) {
        if (signedIn && !dialog.closeRequestedDuringUpload()) {
          StartBatch(dialog);
        } else {
          EndWithoutBatch(dialog);
        }
      });
}

}  // namespace fernwick
