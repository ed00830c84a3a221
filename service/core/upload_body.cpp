#include "service/core/upload_body.h"

namespace fernwick {

namespace {

void AppendTextField(std::string& body, std::string_view name, std::string_view value) {
  body += "--";
  body += kUploadBoundary;
  body += "\r\nContent-Disposition: form-data; name=\"";
  body += name;
  body += "\"\r\n\r\n";
  body += value;
  body += "\r\n";
}

}  // namespace

bool FileFitsUpload(uint64_t fileSize) {
  // 0.98 x 2 MiB is 2,055,208.96: compared as a real number, the way the ceiling is stated.
  return static_cast<double>(fileSize) <= 0.98 * static_cast<double>(kUploadBodyBufferSize);
}

std::string UploadBodyHead(const UploadFields& fields) {
  std::string body;
  body.reserve(512 + fields.authstr.size() + fields.tags.size() + fields.photostatus.size() + 2 * fields.title.size() +
               fields.filePath.size());
  AppendTextField(body, "authstr", fields.authstr);
  AppendTextField(body, "tags", fields.tags);
  AppendTextField(body, "photostatus", fields.photostatus);
  AppendTextField(body, "title", fields.title);
  body += "--";
  body += kUploadBoundary;
  body += "\r\nContent-Disposition: form-data; name=\"";
  body += fields.title;
  body += "\";filename=\"";
  body += fields.filePath;
  body += "\"\r\nContent-Type: \r\n\r\n";
  return body;
}

void AppendUploadBodyTail(std::string& body, int32_t beginpos, int32_t endpos) {
  body += "\r\n";
  AppendTextField(body, "beginpos", std::to_string(beginpos));
  AppendTextField(body, "endpos", std::to_string(endpos));
  body += "--";
  body += kUploadBoundary;
  body += "--\r\n";
}

std::string BuildUploadBody(const UploadFields& fields, std::string_view content) {
  std::string body = UploadBodyHead(fields);
  const auto beginpos = static_cast<int32_t>(body.size());
  const auto endpos = static_cast<int32_t>(body.size() + content.size());
  body.reserve(body.size() + content.size() + 256);
  body += content;
  AppendUploadBodyTail(body, beginpos, endpos);
  return body;
}

std::string UploadHeaderBlock(size_t bodyLength) {
  std::string block = "Content-Type: multipart/form-data; boundary=";
  block += kUploadBoundary;
  block += "\r\nContent-Length: ";
  block += std::to_string(bodyLength);
  return block;
}

}  // namespace fernwick
