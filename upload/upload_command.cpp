// The handler of OK (1017): make sure an account is signed in, then start the batch.
#include "accounts/account_commands.h"
#include "accounts/account_state.h"
#include "base/prompt.h"
#include "service/auth_requests.h"
#include "upload/upload_worker.h"

namespace fernwick {

namespace {
constexpr char kCaption[] = "提示";

// Whether an account is signed in and current now; may run the login dialog.
bool EnsureSignedIn(AccountHost& host) {
  AccountState& account = host.accounts();
  if (account.currentUserName.empty()) return RunSignInDialog(host) == IDOK;
  std::string token;
  int percent = 0;
  std::string blogName;
  switch (SignIn(account.currentUserName, account.currentPassword, token, percent, blogName)) {
    case kResultOk:
      account.blogName = blogName;
      return true;
    case kResultRefused:
      ShowPrompt(host.hwnd(), "用户名或密码错误.", kCaption, MB_OK);
      return RunSignInDialog(host) == IDOK;
    default:
      ShowPrompt(host.hwnd(), "不能连接服务器,请检查网络.", kCaption, MB_OK);
      return false;
  }
}
}  // namespace

void StartUpload(AccountHost& account, UploadSession& session) {
  // A second OK during a batch does nothing, not even the sign-in check.
  if (session.running() || !EnsureSignedIn(account)) return;
  session.Start(account.accounts().currentUserName, account.accounts().currentPassword);
}

}  // namespace fernwick
