// The handler of OK (IDC_MAIN_OK): make sure an account is signed in, then start the batch.
#include "accounts/account_commands.h"
#include "accounts/account_state.h"
#include "upload/upload_worker.h"

namespace fernwick {

void StartUpload(AccountHost& account, UploadSession& session) {
  // A second OK while the account is checked or a batch runs does nothing.
  if (!session.BeginSignInCheck()) return;
  CheckSignInBeforeBatch(
      account, ProductionAccountServices(), [&session] { return !session.closing(); },
      [&account, &session](bool signedIn) {
        const AccountState& state = account.accounts();
        session.EndSignInCheck(signedIn, state.currentUserName, state.currentPassword);
      });
}

}  // namespace fernwick
