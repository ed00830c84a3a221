#include "upload_photo.h"

#include <windows.h>

#include "base/log.h"
#include "service/core/result_codes.h"
#include "service/upload_request.h"

namespace fernwick::test {

int UploadPhoto(ServiceClient& client, const std::string& authstr, const std::string& tags,
                const std::string& photostatus, const std::wstring& filePath, const std::wstring& title,
                int32_t& photoId) {
  if (!client.IsOpen()) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    LogRequest("upload", 0, kResultNoExchange, ERROR_INVALID_HANDLE);
    return kResultNoExchange;
  }
  const UploadAttempt attempt = SendPhoto(client, authstr, tags, photostatus, filePath, title);
  photoId = attempt.photoId;
  const bool notSent = attempt.end == UploadEnd::NoConnection || attempt.end == UploadEnd::BrokenBeforeBody ||
                       attempt.end == UploadEnd::Cancelled;
  return notSent ? kResultNoExchange : kResultOk;
}

}  // namespace fernwick::test
