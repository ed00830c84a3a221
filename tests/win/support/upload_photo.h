#pragma once
// One photo sent with the worker's own request (SendPhoto), its end told as a result code: the
// form the service tests compare with the other requests' results.
#include <cstdint>
#include <string>

#include "service/service_client.h"

namespace fernwick::test {

// Returns 0 when the request was sent, or when the file was too large (or could not be read)
// and nothing was sent; -2 when the request could not be opened or sent. Whether the photo
// arrived is told by photoId alone: the server's id, or 0. When the request cannot even be
// opened photoId is left as it was.
int UploadPhoto(ServiceClient& client, const std::string& authstr, const std::string& tags,
                const std::string& photostatus, const std::wstring& filePath, const std::wstring& title,
                int32_t& photoId);

}  // namespace fernwick::test
