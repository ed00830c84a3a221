#pragma once
// Reads the program's upload form the way its offsets promise: the file's bytes are exactly
// body[beginpos, endpos), whatever they contain (a photo may well hold the boundary's bytes),
// and the text fields before them and the two offset fields after them must add up.
#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace refserver {

struct UploadForm {
  std::string authstr;
  std::string tags;
  std::string photostatus;
  std::string title;
  std::string partName;  // the file part's name (the program sends the title)
  std::string fileName;  // the file part's file name (a full local path)
  size_t beginpos = 0;
  size_t endpos = 0;
};

// The boundary from a Content-Type header value; empty when there is none.
std::string BoundaryOf(std::string_view contentType);

// The form, or a short reason why the body does not add up.
std::variant<UploadForm, std::string> ParseUploadForm(std::string_view body, std::string_view boundary);

}  // namespace refserver
