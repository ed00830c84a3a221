// The handler of OK (1017): make sure an account is signed in, then start the batch.
#include <thread>

#include "accounts/account_commands.h"
#include "app/main_dialog.h"
#include "res/main_window_ids.h"
#include "base/program_state.h"
#include "base/prompt.h"
#include "service/auth_requests.h"
#include "upload/upload_worker.h"

namespace fernwick {

namespace {
constexpr char kCaption[] = "提示";

// Whether an account is signed in and current now; may run the login dialog.
bool EnsureSignedIn(MainDialog& dialog) {
  AccountState& account = dialog.accounts();
  if (account.currentUserName.empty()) return RunSignInDialog(dialog) == IDOK;
  std::string token;
  int percent = 0;
  std::string blogName;
  switch (SignIn(account.currentUserName, account.currentPassword, token, percent, blogName)) {
    case kResultOk:
      account.blogName = blogName;
      return true;
    case kResultRefused:
      ShowPrompt(dialog.hwnd(), "用户名或密码错误.", kCaption, MB_OK);
      return RunSignInDialog(dialog) == IDOK;
    default:
      ShowPrompt(dialog.hwnd(), "不能连接服务器,请检查网络.", kCaption, MB_OK);
      return false;
  }
}
}  // namespace

void StartUpload(MainDialog& dialog) {
  if (!EnsureSignedIn(dialog)) return;
  if (UploadInProgress()) return;
  // The job is made before anything changes, so a failure here leaves OK as it was.
  auto job = std::make_unique<UploadJob>();
  job->userName = dialog.accounts().currentUserName;
  job->password = dialog.accounts().currentPassword;
  job->dialog = &dialog;
  job->ui = dialog.uiTasks();
  job->cancelRequested = dialog.progressPage().cancelFlag();
  SetUploadInProgress(true);
  ::EnableWindow(::GetDlgItem(dialog.hwnd(), ids::kOkButton), FALSE);
  try {
    std::thread(UploadWorker, std::move(job)).detach();
  } catch (...) {
    // No thread (or no memory to hand the job over): no batch, and nothing left waiting for one.
    SetUploadInProgress(false);
    ::EnableWindow(::GetDlgItem(dialog.hwnd(), ids::kOkButton), TRUE);
  }
}

}  // namespace fernwick
