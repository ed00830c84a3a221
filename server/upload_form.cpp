#include "upload_form.h"

#include <charconv>
#include <optional>

namespace refserver {

namespace {

constexpr std::string_view kDisposition = "Content-Disposition: form-data; name=\"";

std::optional<size_t> Decimal(std::string_view text) {
  size_t value = 0;
  if (text.empty() || text.size() > 12) return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The value of the field `name` in `tail`, which must start with the field's delimiter line.
std::optional<std::string_view> TailField(std::string_view tail, std::string_view delimiter, std::string_view name) {
  const std::string head =
      std::string(delimiter) + "\r\n" + std::string(kDisposition) + std::string(name) + "\"\r\n\r\n";
  if (tail.substr(0, head.size()) != head) return std::nullopt;
  const size_t valueEnd = tail.find("\r\n", head.size());
  if (valueEnd == std::string_view::npos) return std::nullopt;
  return tail.substr(head.size(), valueEnd - head.size());
}

}  // namespace

std::string BoundaryOf(std::string_view contentType) {
  constexpr std::string_view kMarker = "boundary=";
  const size_t at = contentType.find(kMarker);
  if (at == std::string_view::npos) return {};
  std::string_view value = contentType.substr(at + kMarker.size());
  const size_t end = value.find_first_of("; \t\r\n");
  return std::string(value.substr(0, end));
}

std::variant<UploadForm, std::string> ParseUploadForm(std::string_view body, std::string_view boundary) {
  if (boundary.empty()) return std::string("no boundary");
  const std::string delimiter = "--" + std::string(boundary);
  const std::string closing = delimiter + "--\r\n";
  if (body.size() < closing.size() || body.substr(body.size() - closing.size()) != closing) {
    return std::string("no closing delimiter");
  }

  // The offsets stand in the last two fields, after the file's bytes.
  const std::string beginMarker = "\r\n" + delimiter + "\r\n" + std::string(kDisposition) + "beginpos\"";
  const size_t tailStart = body.rfind(beginMarker);
  if (tailStart == std::string_view::npos) return std::string("no beginpos field");
  std::string_view tail = body.substr(tailStart + 2);
  const auto beginText = TailField(tail, delimiter, "beginpos");
  if (!beginText) return std::string("malformed beginpos field");
  tail.remove_prefix(tail.find("\r\n", tail.find("\r\n\r\n") + 4) + 2);
  const auto endText = TailField(tail, delimiter, "endpos");
  if (!endText) return std::string("malformed endpos field");
  tail.remove_prefix(tail.find("\r\n", tail.find("\r\n\r\n") + 4) + 2);
  if (tail != closing) return std::string("text after the endpos field");

  UploadForm form;
  const auto begin = Decimal(*beginText);
  const auto end = Decimal(*endText);
  if (!begin || !end) return std::string("offsets are not numbers");
  form.beginpos = *begin;
  form.endpos = *end;
  if (form.beginpos > form.endpos || form.endpos != tailStart) {
    return std::string("endpos does not point at the end of the file");
  }

  // The fields before the file, each "delimiter CRLF headers CRLF CRLF value CRLF".
  std::string_view head = body.substr(0, form.beginpos);
  bool sawFile = false;
  while (!head.empty()) {
    if (sawFile) return std::string("text between the file header and beginpos");
    if (head.substr(0, delimiter.size() + 2) != delimiter + "\r\n") return std::string("missing delimiter");
    head.remove_prefix(delimiter.size() + 2);
    const size_t headersEnd = head.find("\r\n\r\n");
    if (headersEnd == std::string_view::npos) return std::string("unterminated part headers");
    const std::string_view headers = head.substr(0, headersEnd);
    head.remove_prefix(headersEnd + 4);
    if (headers.substr(0, kDisposition.size()) != kDisposition) return std::string("missing disposition");
    const std::string_view disposition =
        headers.substr(kDisposition.size(), headers.find("\r\n") - kDisposition.size());

    constexpr std::string_view kFileMarker = "\";filename=\"";
    const size_t fileMarker = disposition.find(kFileMarker);
    if (fileMarker != std::string_view::npos) {
      form.partName = std::string(disposition.substr(0, fileMarker));
      std::string_view file = disposition.substr(fileMarker + kFileMarker.size());
      if (file.empty() || file.back() != '"') return std::string("malformed file name");
      form.fileName = std::string(file.substr(0, file.size() - 1));
      sawFile = true;
      continue;
    }
    if (disposition.empty() || disposition.back() != '"') return std::string("malformed field name");
    const std::string_view name = disposition.substr(0, disposition.size() - 1);
    const size_t valueEnd = head.find("\r\n" + delimiter + "\r\n");
    if (valueEnd == std::string_view::npos) return std::string("unterminated field ") + std::string(name);
    const std::string value(head.substr(0, valueEnd));
    head.remove_prefix(valueEnd + 2);
    if (name == "authstr")
      form.authstr = value;
    else if (name == "tags")
      form.tags = value;
    else if (name == "photostatus")
      form.photostatus = value;
    else if (name == "title")
      form.title = value;
  }
  if (!sawFile) return std::string("no file part before beginpos");
  return form;
}

}  // namespace refserver
