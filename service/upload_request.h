#pragma once
// One photo, sent whole as one multipart POST to /upload/toolupload.aspx.
#include <cstdint>
#include <string>

#include "service/core/result_codes.h"
#include "service/core/upload_outcome.h"
#include "service/service_client.h"

namespace fernwick {

// One attempt at one photo, with how it ended as far as the program can know, and the body's
// progress reported piece by piece. The title and the file's path go into the body as code page
// 936 bytes, a character that code page cannot hold as "?"; the file is opened by its wide path,
// unless `readAhead` holds its whole content already (ReadPhotoAhead).
UploadAttempt SendPhoto(ServiceClient& client, const std::string& authstr, const std::string& tags,
                        const std::string& photostatus, const std::wstring& filePath, const std::wstring& title,
                        const SendProgress& progress = {}, const std::string* readAhead = nullptr);

// Reads a photo's whole file into `content` (its memory reused) before its send, as the send
// would; false, without a word, when it cannot: the send then reads the file itself and tells
// why.
bool ReadPhotoAhead(const std::wstring& filePath, std::string& content);

}  // namespace fernwick
