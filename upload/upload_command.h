#pragma once
// The upload command: the handler of OK (IDC_MAIN_OK).
#include "upload/upload_session.h"

namespace fernwick {

class AccountHost;

// The handler of OK: unless a batch already runs, signs in (or runs the login dialog when
// nobody is signed in), then starts the batch. Returns at once; nothing waits for the worker.
void StartUpload(AccountHost& account, UploadSession& session);

}  // namespace fernwick
