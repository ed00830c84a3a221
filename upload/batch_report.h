#pragma once
// What a batch's worker tells the window, in the order it happens: progress and each photo's
// result, never a question. The window applies each report on the UI thread
// (BatchHost::ApplyBatchReport); a photo is named by the place the batch's snapshot gave it.
#include <cstdint>
#include <string>
#include <variant>

#include "imaging/working_copies.h"
#include "upload/batch_snapshot.h"

namespace fernwick {

// The first sign-in went through: its blog name is the account's (the token stays with the
// worker, which alone uses it), and the progress page shows, both bars empty (the upper one for
// the photo being sent, the overall one for the batch, each in thousandths of its bytes).
struct BatchSignedIn {
  std::string blogName;
};

// A token request's blog name.
struct BatchBlogName {
  std::string blogName;
};

// A photo goes: its turned copy (when it was turned and the copy written) becomes its file, the
// quota line shows what the server said before it, and the progress page shows the photo.
struct BatchPhotoGoes {
  ListPlace place;
  RotatedCopy copy;
  int32_t quotaLimit = 0;
  int32_t quotaUsed = 0;
};

// How much has gone, in thousandths: of the photo being sent and of the whole batch.
struct BatchShares {
  int photoPermille = 0;
  int batchPermille = 0;
};

// A photo's attempts are over: with the server's id it leaves the list and the id is recorded;
// without one (0) it stays. Either way the page no longer shows it. Sent, or maybe on the site
// (its whole body went and no clear answer came), it goes into the upload history.
struct BatchPhotoDone {
  ListPlace place;
  int32_t photoId = 0;
  bool maybeOnSite = false;
};

// The batch's photos are done: the list tidied, the tags emptied, the done page shown, and the
// working-copy numbers below `nextFileNumber` taken.
struct BatchDone {
  int32_t nextFileNumber = 0;
};

using BatchReport = std::variant<BatchSignedIn, BatchBlogName, BatchPhotoGoes, BatchShares, BatchPhotoDone, BatchDone>;

}  // namespace fernwick
