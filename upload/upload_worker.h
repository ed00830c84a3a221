#pragma once
// The worker that sends the batch (the command that starts it is in upload_command.h).
#include "upload/batch_host.h"
#include "upload/upload_session.h"

namespace fernwick {

// The worker of a session whose window is `host`: the whole batch on the calling thread, from the
// snapshot the window hands it at the start, and its progress and results reported back to the
// UI thread; ends with EndBatch.
UploadSession::Worker UploadWorkerFor(BatchHost& host);

}  // namespace fernwick
