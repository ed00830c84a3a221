// The handler of OK: make sure an account is signed in, then start the batch.
#include "upload/upload_command.h"

#include "accounts/account_commands.h"
#include "accounts/account_state.h"

namespace fernwick {

void StartUpload(AccountHost& account, UploadSession& session) {
  // A second OK while the account is checked or a batch runs does nothing.
  if (!session.BeginSignInCheck()) return;
  CheckSignInBeforeBatch(
      account, ProductionAccountServices(), [&session] { return !session.closing(); },
      [&account, &session](bool signedIn) {
        const AccountState& state = account.accounts();
        session.EndSignInCheck(signedIn, state.currentUserName(), state.currentPassword());
      });
}

}  // namespace fernwick
