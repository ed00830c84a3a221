#pragma once
// How one attempt to send a photo ended, as far as the program can know. The line that matters
// is whether the whole body had gone: before it, the server cannot have stored the photo; after
// it, a lost answer may hide a photo that did arrive.
#include <cstdint>

namespace fernwick {

enum class UploadEnd {
  Stored,            // 200, stat "ok" and a photo id
  Refused,           // the server answered and did not take it (another stat, or a status such as 500)
  ServerBusy,        // 503, or 502 or 504 before the whole body went: the request was not handled
  NoConnection,      // the connection could not be made, or the request's head not sent
  BrokenBeforeBody,  // the connection failed or was reset before the whole body was sent
  AnswerLost,        // the whole body was sent; the answer did not come, or could not be read
  TooLarge,          // nothing sent: the file is larger than an upload takes
  Unreadable,        // nothing sent: the file cannot be opened or read
  Cancelled,         // the user cancelled before the whole body was sent
};

// How an attempt ended that got an HTTP status other than 200. 503 says the server did not
// handle the request; a proxy's 502 or 504 says only that the server's answer did not come
// back, and once the whole body had gone the server may still be storing the photo.
UploadEnd EndOfStatus(int httpStatus, bool bodySent) noexcept;

struct UploadAttempt {
  UploadEnd end = UploadEnd::NoConnection;
  int32_t photoId = 0;   // only with Stored
  int httpStatus = 0;    // for the log: 0 when none was read
  unsigned long systemError = 0;
};

}  // namespace fernwick
