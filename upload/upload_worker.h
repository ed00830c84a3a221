#pragma once
// The upload command (OK, IDC_MAIN_OK) and the worker that sends the batch.
#include "upload/batch_host.h"
#include "upload/upload_session.h"

namespace fernwick {

class AccountHost;

// The handler of OK: unless a batch already runs, signs in (or runs the login dialog when
// nobody is signed in), then starts the batch. Returns at once; nothing waits for the worker.
void StartUpload(AccountHost& account, UploadSession& session);

// The worker of a session whose window is `host`: the whole batch on the calling thread, every
// window step handed to the UI thread; ends with EndBatch.
UploadSession::Worker UploadWorkerFor(BatchHost& host);

}  // namespace fernwick
