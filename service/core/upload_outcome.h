#pragma once
// How one attempt to send a photo ended, as far as the program can know. The line that matters
// is whether the whole body had gone: before it, the server cannot have stored the photo; after
// it, a lost answer may hide a photo that did arrive.
#include <cstdint>

namespace fernwick {

enum class UploadEnd {
  Stored,            // 200, stat "ok" and a photo id
  Refused,           // the server answered and did not take it (another stat, or a status such as 500)
  ServerBusy,        // 502, 503 or 504: the server said it did not handle the request
  NoConnection,      // the connection could not be made, or the request's head not sent
  BrokenBeforeBody,  // the connection failed or was reset before the whole body was sent
  AnswerLost,        // the whole body was sent; the answer did not come, or could not be read
  TooLarge,          // nothing sent: the file is larger than an upload takes
  Unreadable,        // nothing sent: the file cannot be opened or read
  Cancelled,         // the user cancelled before the whole body was sent
};

struct UploadAttempt {
  UploadEnd end = UploadEnd::NoConnection;
  int32_t photoId = 0;   // only with Stored
  int httpStatus = 0;    // for the log: 0 when none was read
  unsigned long systemError = 0;
};

}  // namespace fernwick
