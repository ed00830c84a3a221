#pragma once
// When a photo that did not go is tried again, and what the user is told about it. A photo is
// sent again only where the server cannot have stored it, so that no retry ever makes a second
// copy on the site.
#include <string>
#include <utility>
#include <vector>

#include "service/core/upload_outcome.h"

namespace fernwick {

// Attempts per photo, the first included.
inline constexpr int kMaxUploadAttempts = 3;

// Whether an attempt that ended so may be repeated.
bool MayRetry(UploadEnd end) noexcept;
// Whether the end says the server could not be reached at all (rather than that it answered).
bool IsConnectionFailure(UploadEnd end) noexcept;
// The wait before attempt `attempt` (2 or 3), in milliseconds: about 1 s, then 4 s.
unsigned RetryWaitMs(int attempt) noexcept;

// Why a photo of the batch did not arrive. The first four, in the order the summary lists them,
// are what the list cannot show: the photo stays there like any other not yet sent.
enum class MissReason {
  Refused,
  TooLarge,
  Unreadable,
  MaybeOnSite,
  NoConnection,  // the closing message says so
  Cancelled,     // the user chose it
};

// The reason a photo's last attempt gives; none for a stored photo.
MissReason MissReasonOf(UploadEnd end) noexcept;

struct MissedPhoto {
  MissReason reason;
  std::wstring title;
};

// The one message after a batch that holds a photo the server did not take or one that may be
// on the site already: how many arrived, then by reason the titles of those photos only. Empty
// when there is none: the photos the batch did not reach, or stopped on for a lost connection or
// Cancel, are in the list, and the batch's own message (or none) tells why.
std::wstring BatchSummaryText(int arrived, const std::vector<MissedPhoto>& missed);

}  // namespace fernwick
