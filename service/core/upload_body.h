#pragma once
// The multipart form that carries one photo to the server, laid out byte for byte as the
// server reads it: four text fields, the file part (named after the title, with the full
// local path as its file name), then the two offsets that tell where the file's bytes lie.
// Every value is inserted as it is, without escaping or re-encoding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fernwick {

inline constexpr char kUploadBoundary[] = "---------------------------7b4a6d158c9";
inline constexpr char kUploadObjectPath[] = "/upload/toolupload.aspx";
// The body is built in a buffer of this size; 98 % of it is left for the file.
inline constexpr size_t kUploadBodyBufferSize = 2 * 1024 * 1024;

struct UploadFields {
  std::string_view authstr;
  std::string_view tags;         // as typed, may be empty
  std::string_view photostatus;  // "1" public, "2" friends only, "0" not public
  std::string_view title;        // also the file part's name
  std::string_view filePath;     // the file part's file name
};

// Whether a file of this many bytes is sent: at most 0.98 of the body buffer.
bool FileFitsUpload(uint64_t fileSize);

// Pieces before the file content; their length is the offset of the file's first byte.
std::string UploadBodyHead(const UploadFields& fields);
// Appends the pieces after the file content: the CR LF that ends it, both offsets, the
// closing delimiter.
void AppendUploadBodyTail(std::string& body, int32_t beginpos, int32_t endpos);
// The whole body around the given file content.
std::string BuildUploadBody(const UploadFields& fields, std::string_view content);

// "Content-Type: multipart/form-data; boundary=...\r\nContent-Length: N", no CR LF at the end.
std::string UploadHeaderBlock(size_t bodyLength);

}  // namespace fernwick
