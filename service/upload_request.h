#pragma once
// One photo, sent whole as one multipart POST to /upload/toolupload.aspx.
#include <cstdint>
#include <string>

#include "service/core/result_codes.h"
#include "service/core/upload_outcome.h"
#include "service/service_client.h"

namespace fernwick {

// Returns 0 when the request was sent, or when the file was too large (or could not be read)
// and nothing was sent; -2 when the request could not be opened or sent. Whether the photo
// arrived is told by photoId alone: the server's id, or 0. When the request cannot even be
// opened photoId is left as it was.
// The title and the file's path go into the body as code page 936 bytes, a character that
// code page cannot hold as "?"; the file itself is opened by its wide path.
int UploadPhoto(ServiceClient& client, const std::string& authstr, const std::string& tags,
                const std::string& photostatus, const std::wstring& filePath, const std::wstring& title,
                int32_t& photoId);

}  // namespace fernwick

namespace fernwick {

// One attempt at one photo, with how it ended as far as the program can know, and the body's
// progress reported piece by piece. The bytes sent are exactly UploadPhoto's.
UploadAttempt SendPhoto(ServiceClient& client, const std::string& authstr, const std::string& tags,
                        const std::string& photostatus, const std::wstring& filePath, const std::wstring& title,
                        const SendProgress& progress = {});

}  // namespace fernwick
