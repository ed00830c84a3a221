#include "service/core/upload_outcome.h"

namespace fernwick {

UploadEnd EndOfStatus(int httpStatus, bool bodySent) noexcept {
  if (httpStatus == 503) return UploadEnd::ServerBusy;
  if (httpStatus == 502 || httpStatus == 504) return bodySent ? UploadEnd::AnswerLost : UploadEnd::ServerBusy;
  // No status could be read: the answer is lost, not a refusal.
  return httpStatus == 0 ? UploadEnd::AnswerLost : UploadEnd::Refused;
}

}  // namespace fernwick
